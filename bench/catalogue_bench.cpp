// What reading translation catalogues adds to a font import: whole runs of
// "tralk-import font" selecting the characters of 20 generated catalogues
// of 5000 entries each, against the same import given those characters with
// --symbols, and given the same strings as plain text files. Each run is a
// process of its own (wait4 gives its CPU time); the cases run in turn, so
// that a busy moment of the machine falls on all. Every case must write the
// same symbols. Not a test: the figures are printed beside their target,
// at most 0.2 s more than --symbols.
//
//   tralk_catalogbench --import PATH_TO_TRALK_IMPORT [--runs N] [--keep DIR]
//
// --keep DIR writes the catalogues into DIR and leaves them there (for a
// profiler), instead of a temporary folder.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "bench/process_timer.h"

namespace fs = std::filesystem;

namespace {

constexpr int kCatalogues = 20;
constexpr int kEntries = 5000;
constexpr double kTargetSeconds = 0.2;
const char kFont[] = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

// The words of the strings: English, then German, Russian, Greek, French.
const std::vector<std::vector<std::string>> kWords = {
    {"open",    "close",   "settings", "alarm", "temperature", "pressure", "level",
     "battery", "network", "menu",     "start", "stop",        "value",    "error",
     "warning", "save",    "load",     "reset", "time",        "date"},
    {"Öffnen",   "Schließen", "Einstellungen", "Alarm",        "Temperatur", "Druck", "Füllstand",
     "Batterie", "Netzwerk",  "Menü",          "Start",        "Stopp",      "Wert",  "Fehler",
     "Warnung",  "Speichern", "Laden",         "Zurücksetzen", "Zeit",       "Datum"},
    {"Открыть",        "Закрыть",   "Настройки", "Тревога", "Температура", "Давление", "Уровень",
     "Батарея",        "Сеть",      "Меню",      "Пуск",    "Стоп",        "Значение", "Ошибка",
     "Предупреждение", "Сохранить", "Загрузить", "Сброс",   "Время",       "Дата"},
    {"Άνοιγμα",       "Κλείσιμο",   "Ρυθμίσεις", "Συναγερμός", "Θερμοκρασία", "Πίεση",     "Στάθμη",
     "Μπαταρία",      "Δίκτυο",     "Μενού",     "Έναρξη",     "Διακοπή",     "Τιμή",      "Σφάλμα",
     "Προειδοποίηση", "Αποθήκευση", "Φόρτωση",   "Επαναφορά",  "Ώρα",         "Ημερομηνία"},
    {"Ouvrir",      "Fermer",  "Paramètres",    "Alarme", "Température",
     "Pression",    "Niveau",  "Batterie",      "Réseau", "Menu",
     "Démarrer",    "Arrêter", "Valeur",        "Erreur", "Avertissement",
     "Enregistrer", "Charger", "Réinitialiser", "Heure",  "Date"},
};

[[noreturn]] void die(const std::string& msg) {
  std::fprintf(stderr, "tralk_catalogbench: %s\n", msg.c_str());
  std::exit(1);
}

// A fixed sequence of numbers, the same on every run.
struct Random {
  uint32_t state = 12345;
  uint32_t next(uint32_t n) {
    state = state * 1664525u + 1013904223u;
    return (state >> 8) % n;
  }
};

// One entry: what the display shows of its source and translation (a
// placeholder's place is empty), and whether it has a placeholder and a
// plural.
struct Entry {
  std::string source, translation;
  bool placeholder = false, plural = false;
};

std::string phrase(Random& random, const std::vector<std::string>& words, int number) {
  std::string out;
  const uint32_t count = 3 + random.next(4);
  for (uint32_t w = 0; w < count; ++w) out += words[random.next(words.size())] + " ";
  return out + std::to_string(number);
}

std::vector<Entry> entries(Random& random, int language) {
  std::vector<Entry> out;
  for (int i = 0; i < kEntries; ++i) {
    Random copy = random;
    Entry e{phrase(random, kWords[0], i), phrase(copy, kWords[language], i), i % 3 == 0,
            i % 5 == 0};
    random.next(1);
    out.push_back(e);
  }
  return out;
}

// The entries as a .po file: a header, a context and comments, printf's
// %d, plurals.
std::string po_file(const std::vector<Entry>& es) {
  std::string out =
      "# Generated\nmsgid \"\"\nmsgstr \"\"\n\"Content-Type: text/plain; charset=UTF-8\\n\"\n\n";
  for (size_t i = 0; i < es.size(); ++i) {
    const Entry& e = es[i];
    const std::string p = e.placeholder ? " %d" : "";
    out += "#: ui.c:" + std::to_string(i) + "\n#, c-format\nmsgctxt \"ctx\"\n";
    out += "msgid \"" + e.source + p + "\"\n";
    if (e.plural) {
      out += "msgid_plural \"" + e.source + p + "s\"\n";
      out +=
          "msgstr[0] \"" + e.translation + p + "\"\nmsgstr[1] \"" + e.translation + p + "n\"\n\n";
    } else {
      out += "msgstr \"" + e.translation + p + "\"\n\n";
    }
  }
  return out;
}

std::string json_file(const std::vector<Entry>& es) {
  std::string out = "{\n";
  for (size_t i = 0; i < es.size(); ++i) {
    const Entry& e = es[i];
    const std::string p = e.placeholder ? " {{count}}" : "";
    out += "  \"group" + std::to_string(i % 50) + "\": {\"s" + std::to_string(i) + "\": \"" +
           e.source + p + "\", \"t\": \"" + e.translation + p + "\"";
    if (e.plural)
      out += ", \"n\": \"{n, plural, one {" + e.source + p + "s} other {" + e.translation + p +
             "n}}\"";
    out += i + 1 < es.size() ? "},\n" : "}\n";
  }
  return out + "}\n";
}

std::string xliff_file(const std::vector<Entry>& es) {
  std::string out =
      "<?xml version=\"1.0\"?>\n<xliff version=\"1.2\"><file source-language=\"en\" "
      "datatype=\"plaintext\" original=\"ui\"><body>\n";
  for (size_t i = 0; i < es.size(); ++i) {
    const Entry& e = es[i];
    const std::string p = e.placeholder ? " <ph id=\"1\">%d</ph>" : "";
    out += "<trans-unit id=\"" + std::to_string(i) + "\" maxwidth=\"120\"><source>" + e.source + p +
           (e.plural ? "s" : "") + "</source><target>" + e.translation + p + (e.plural ? "n" : "") +
           "</target><note>a note</note></trans-unit>\n";
  }
  return out + "</body></file></xliff>\n";
}

std::string ts_file(const std::vector<Entry>& es) {
  std::string out =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!DOCTYPE TS>\n<TS version=\"2.1\">\n"
      "<context><name>Ui</name>\n";
  for (size_t i = 0; i < es.size(); ++i) {
    const Entry& e = es[i];
    const std::string p = e.placeholder ? " %1" : "";
    out += "<message><location filename=\"ui.cpp\" line=\"" + std::to_string(i) + "\"/><source>" +
           e.source + p + "</source><translation>" + e.translation + p +
           "</translation></message>\n";
    if (e.plural)
      out += "<message numerus=\"yes\"><source>" + e.source + p +
             "s</source><translation><numerusform>" + e.translation + p +
             "n</numerusform></translation></message>\n";
  }
  return out + "</context>\n</TS>\n";
}

// What each format shows of the entries, one string a line.
std::string plain_file(const std::vector<Entry>& es) {
  std::string out;
  for (const Entry& e : es) {
    const std::string p = e.placeholder ? " " : "";
    out += e.source + p + "\n" + e.translation + p + "\n";
    if (e.plural) out += e.source + p + "s\n" + e.translation + p + "n\n";
  }
  return out;
}

void write(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  if (!out) die("cannot write " + path.string());
}

// The characters of UTF-8 text, each once, blanks included, line ends not.
void add_characters(const std::string& text, std::set<std::string>& chars) {
  for (size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const size_t n = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (text[i] != '\n') chars.insert(text.substr(i, n));
    i += n;
  }
}

struct Case {
  const char* name;
  std::vector<std::string> args;  // after the font's options
  std::vector<double> cpu, wall;
};

// The .sym file without its options line, which names what was given.
std::string symbols_of(const fs::path& sym) {
  std::ifstream in(sym, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const size_t options = text.find("// Options:");
  if (options == std::string::npos) die(sym.string() + " has no options line");
  return text.erase(options, text.find('\n', options) + 1 - options);
}

}  // namespace

int main(int argc, char** argv) {
  std::string import;
  std::string keep;
  int runs = 5;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string arg = argv[i];
    if (arg == "--import")
      import = fs::absolute(argv[i + 1]).string();
    else if (arg == "--keep")
      keep = argv[i + 1];
    else if (arg == "--runs")
      runs = std::max(1, std::atoi(argv[i + 1]));
    else
      die("unknown option " + arg);
  }
  if (import.empty()) die("--import PATH is needed");
  if (!fs::exists(kFont)) {
    std::printf("catalogues: skipped, %s is not installed\n", kFont);
    return 0;
  }
  const fs::path dir = keep.empty() ? fs::temp_directory_path() /
                                          ("tralk-catalogbench-" + std::to_string(::getpid()))
                                    : fs::absolute(keep);
  fs::create_directories(dir);

  Random random;
  std::set<std::string> chars;
  Case symbols{"--symbols of the characters shown", {}, {}, {}};
  Case plain{"20 plain text files of the same strings", {}, {}, {}};
  Case po{"20 .po catalogues", {}, {}, {}};
  Case mixed{"20 catalogues: 5 each .po, JSON, XLIFF, .ts", {}, {}, {}};
  size_t catalogue_bytes = 0;
  for (int k = 0; k < kCatalogues; ++k) {
    const std::vector<Entry> es = entries(random, 1 + k % 4);
    const std::string n = std::to_string(k);
    const std::string text = plain_file(es);
    add_characters(text, chars);
    write(dir / ("p" + n + ".txt"), text);
    const std::string po_text = po_file(es);
    catalogue_bytes += po_text.size();
    write(dir / ("c" + n + ".po"), po_text);
    const std::string mixed_name = "m" + n +
                                   (k % 4 == 0   ? ".po"
                                    : k % 4 == 1 ? ".json"
                                    : k % 4 == 2 ? ".xlf"
                                                 : ".ts");
    write(dir / mixed_name, k % 4 == 0   ? po_text
                            : k % 4 == 1 ? json_file(es)
                            : k % 4 == 2 ? xliff_file(es)
                                         : ts_file(es));
    for (auto [c, file] : {std::pair{&plain, "p" + n + ".txt"}, std::pair{&po, "c" + n + ".po"},
                           std::pair{&mixed, mixed_name}}) {
      c->args.push_back("--symbols-file");
      c->args.push_back(file);
    }
  }
  std::string all;
  for (const std::string& c : chars) all += c;
  symbols.args = {"--symbols", all};

  std::printf(
      "%d catalogues of %d entries (.po files of %.1f MB in all), %zu characters; medians of %d "
      "runs, CPU seconds (user + system) and wall-clock\n",
      kCatalogues, kEntries, catalogue_bytes / 1e6, chars.size(), runs);
  std::vector<Case*> cases = {&symbols, &plain, &po, &mixed};
  std::string expected;
  for (int run = -1; run < runs; ++run) {  // run -1 warms the caches
    for (Case* c : cases) {
      std::vector<std::string> args = {import, "font",  kFont, "--size",
                                       "16",   "--bpp", "4",   "--no-cp"};
      args.insert(args.end(), c->args.begin(), c->args.end());
      args.insert(args.end(), {"-o", "out.sym"});
      std::error_code ec;
      fs::remove(dir / "out.sym", ec);
      const bench::Sample s = bench::run_process(args, dir, dir / "messages.txt");
      const std::string sym = symbols_of(dir / "out.sym");
      if (expected.empty()) expected = sym;
      if (sym != expected) die(std::string(c->name) + " wrote other symbols than --symbols");
      if (run < 0) continue;
      c->cpu.push_back(s.cpu);
      c->wall.push_back(s.seconds);
    }
  }
  using bench::median;
  const double base = median(symbols.cpu);
  bool met = true;
  std::printf("%-46s %8s %8s %10s\n", "case", "CPU", "wall", "added CPU");
  for (const Case* c : cases) {
    const double added = median(c->cpu) - base;
    const bool catalogue = c == &po || c == &mixed;
    if (catalogue && added > kTargetSeconds) met = false;
    std::printf("%-46s %8.3f %8.3f %10.3f  %s\n", c->name, median(c->cpu), median(c->wall), added,
                catalogue ? (added <= kTargetSeconds ? "met (<= 0.2 s)" : "MISSED (> 0.2 s)") : "");
  }
  std::error_code ec;
  if (keep.empty()) fs::remove_all(dir, ec);
  return met ? 0 : 1;
}
