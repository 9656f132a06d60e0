// Imports of small BDF fonts written here: the BDF bitmaps state what every
// symbol must hold, so each case checks the exact bytes of both files, the
// messages, and that the generator's readers and the inspector accept them.
#include <gtest/gtest.h>

#include "import/import_helpers.h"

namespace {

using import_test::bdf;
using import_test::files_in;
using import_test::read_back;
using import_test::run_import;
using tralk::inspector::FontRecord;

std::string glyph(const std::string& name, int code, int advance, const std::string& bbx,
                  const std::vector<std::string>& rows) {
  std::string out = "STARTCHAR " + name + "\nENCODING " + std::to_string(code) +
                    "\nSWIDTH 500 0\nDWIDTH " + std::to_string(advance) + " 0\nBBX " + bbx +
                    "\nBITMAP\n";
  for (const std::string& r : rows) out += r + "\n";
  return out + "ENDCHAR\n";
}

// The test font: ascent 6, descent 2.
const std::string kFont =
    bdf(glyph("space", 0x20, 3, "0 0 0 0", {}) +
        glyph("question", 0x3F, 4, "3 5 0 0", {"E0", "20", "40", "00", "40"}) +
        glyph("A", 0x41, 5, "5 6 0 0", {"20", "50", "88", "F8", "88", "88"}) +
        // Ink one column left of the origin (row 90) and below the baseline.
        glyph("g", 0x67, 4, "4 5 -1 -2", {"70", "90", "70", "10", "60"}) +
        glyph("i", 0x69, 2, "1 5 0 0", {"80", "00", "80", "80", "80"}) +
        // Two rows above the ascent.
        glyph("Adieresis", 0xC4, 5, "5 8 0 0", {"50", "00", "20", "50", "88", "F8", "88", "88"}) +
        // Marks that do not advance: one without ink, one left of the origin.
        glyph("gravecomb", 0x300, 0, "0 0 0 0", {}) +
        glyph("acutecomb", 0x301, 0, "2 2 -2 4", {"40", "80"}) +
        glyph("A-cyrillic", 0x410, 5, "5 6 0 0", {"70", "88", "88", "F8", "88", "88"}) +
        glyph("smiley", 0x1F600, 6, "5 5 0 0", {"70", "A8", "F8", "88", "70"}) +
        // Wider than a 64-bit word: its first and last columns, then all.
        glyph("wide", 0x100, 70, "70 2 0 0", {"800000000000000004", "FFFFFFFFFFFFFFFFFC"}));

// A second font: a solid A that must never be taken, and a B.
const std::string kFallback =
    bdf(glyph("A", 0x41, 5, "5 6 0 0", {"F8", "F8", "F8", "F8", "F8", "F8"}) +
        glyph("B", 0x42, 5, "4 6 0 0", {"E0", "90", "E0", "90", "90", "E0"}));

// A font in KOI8-R, whose codes are not Unicode values.
const std::string kKoi8 = bdf(glyph("a", 0xC1, 4, "3 3 0 0", {"E0", "A0", "E0"}) +
                                  glyph("A", 0xE1, 4, "3 5 0 0", {"40", "A0", "E0", "A0", "A0"}),
                              "KOI8", "R");

// A .cp file: the default character, then the ranges as written.
std::string cp(int defchar, const std::vector<std::string>& ranges) {
  std::string out = "{" + std::to_string(ranges.size()) + ", " + std::to_string(defchar) +
                    "},  /* number of ranges, default character */\n{\n";
  for (size_t i = 0; i < ranges.size(); ++i)
    out += "  " + ranges[i] + (i + 1 < ranges.size() ? "," : "") +
           (i ? "" : "  /* first code, last code, symbol index of the first code */") + "\n";
  return out + "}\n";
}

// The warning of an import without "?" from a font that has no symbol for
// missing characters (the test fonts name no DEFAULT_CHAR).
std::string first_code_warning(const std::string& code) {
  return "\"?\" is not among the symbols and the font has no symbol of its own for missing "
         "characters: the default character is the first code, " +
         code + "; choose one with --defchar";
}

struct Case {
  const char* what;
  const char* args;  // after "tralk-import font", writing a.sym
  const char* font;  // as the .sym file names it
  const char* options;
  const char* shape;
  std::vector<std::string> symbols;  // the lines after the comments
  std::string cp;                    // a.cp
  const char* cp_line;               // the codepage's report line
  std::vector<std::string> warnings;
  std::string fallback_line;  // a comment and report line for a fallback
};

const char kBw[] = ", 1 bit per pixel (b&w, a set bit is ink)";

const Case kCases[] = {
    {"b&w: the union of the ink, a glyph left of the origin, a blank glyph",
     "t.bdf -r 0x20,0x41,0x67,0x69 -o a.sym",
     "t.bdf",
     "-r 0x20,0x41,0x67,0x69 --encoding unicode --bpp 1 --hinting native --height ink --width "
     "advance",
     "4 symbols, 8 rows (6 above the baseline), 2 to 5 pixels wide, 8 bytes each",
     {"{{3,8},{0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00}}, // 0x0020",
      "{{5,8},{0x20,0x50,0x88,0xF8,0x88,0x88,0x00,0x00}}, // 0x0041",
      "{{5,8},{0x00,0x00,0x00,0x70,0x90,0x70,0x10,0x60}}, // 0x0067",
      "{{2,8},{0x00,0x80,0x00,0x80,0x80,0x80,0x00,0x00}}, // 0x0069"},
     cp(32, {"{32, 32, 0}", "{65, 65, 1}", "{103, 103, 2}", "{105, 105, 3}"}),
     "Codepage \"a.cp\": 4 ranges, default character 0x0020, the first code",
     {first_code_warning("0x0020")},
     ""},
    {"4-bit grey: rows at each symbol's own length, then zero padding",
     "t.bdf -r 0x20,0x41,0x69 --bpp 4 -o a.sym",
     "t.bdf",
     "-r 0x20,0x41,0x69 --encoding unicode --bpp 4 --hinting native --height ink --width advance",
     "3 symbols, 6 rows (6 above the baseline), 2 to 5 pixels wide, 18 bytes each, 4 bits per "
     "pixel (grey levels, 0 black, ink dark)",
     {"{{0,4,3,6},{0xFF,0xF0,0xFF,0xF0,0xFF,0xF0,0xFF,0xF0,0xFF,0xF0,0xFF,0xF0,0x00,0x00,0x00,0x00,"
      "0x00,0x00}}, // 0x0020",
      "{{0,4,5,6},{0xFF,0x0F,0xF0,0xF0,0xF0,0xF0,0x0F,0xFF,0x00,0x00,0x00,0x00,0x0F,0xFF,0x00,0x0F,"
      "0xFF,0x00}}, // 0x0041",
      "{{0,4,2,6},{0xFF,0x0F,0xFF,0x0F,0x0F,0x0F,0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00,"
      "0x00,0x00}}, // 0x0069"},
     cp(32, {"{32, 32, 0}", "{65, 65, 1}", "{105, 105, 2}"}),
     "Codepage \"a.cp\": 3 ranges, default character 0x0020, the first code",
     {first_code_warning("0x0020")},
     ""},
    {"2-bit grey, light ink on black",
     "t.bdf -r 0x69 --bpp 2 --invert -o a.sym",
     "t.bdf",
     "-r 0x69 --encoding unicode --bpp 2 --invert --hinting native --height ink --width advance",
     "1 symbol, 5 rows (5 above the baseline), 2 pixels wide, 5 bytes each, 2 bits per pixel "
     "(grey levels, 0 black, ink light)",
     {"{{0,2,2,5},{0xC0,0x00,0xC0,0xC0,0xC0}}, // 0x0069"},
     cp(105, {"{105, 105, 0}"}),
     "Codepage \"a.cp\": 1 range, default character 0x0069, the first code",
     {first_code_warning("0x0069")},
     ""},
    {"8-bit grey, ink below the baseline and left of the origin",
     "t.bdf -r 0x67 --bpp 8 -o a.sym",
     "t.bdf",
     "-r 0x67 --encoding unicode --bpp 8 --hinting native --height ink --width advance",
     "1 symbol, 5 rows (3 above the baseline), 5 pixels wide, 25 bytes each, 8 bits per pixel "
     "(grey levels, 0 black, ink dark)",
     {"{{0,8,5,5},{0xFF,0x00,0x00,0x00,0xFF,0x00,0xFF,0xFF,0x00,0xFF,0xFF,0x00,0x00,0x00,0xFF,"
      "0xFF,0xFF,0xFF,0x00,0xFF,0xFF,0x00,0x00,0xFF,0xFF}}, // 0x0067"},
     cp(103, {"{103, 103, 0}"}),
     "Codepage \"a.cp\": 1 range, default character 0x0067, the first code",
     {first_code_warning("0x0067")},
     ""},
    {"a glyph above the ascent raises the cell",
     "t.bdf -r 0x41,0xC4 -o a.sym",
     "t.bdf",
     "-r 0x41,0xC4 --encoding unicode --bpp 1 --hinting native --height ink --width advance",
     "2 symbols, 8 rows (8 above the baseline), 5 pixels wide, 8 bytes each",
     {"{{5,8},{0x00,0x00,0x20,0x50,0x88,0xF8,0x88,0x88}}, // 0x0041",
      "{{5,8},{0x50,0x00,0x20,0x50,0x88,0xF8,0x88,0x88}}, // 0x00C4"},
     cp(65, {"{65, 65, 0}", "{196, 196, 1}"}),
     "Codepage \"a.cp\": 2 ranges, default character 0x0041, the first code",
     {first_code_warning("0x0041")},
     ""},
    {"--height font clips a glyph above the ascent",
     "t.bdf -r 0x41,0xC4 --height font -o a.sym",
     "t.bdf",
     "-r 0x41,0xC4 --encoding unicode --bpp 1 --hinting native --height font --width advance",
     "2 symbols, 8 rows (6 above the baseline), 5 pixels wide, 8 bytes each",
     {"{{5,8},{0x20,0x50,0x88,0xF8,0x88,0x88,0x00,0x00}}, // 0x0041",
      "{{5,8},{0x20,0x50,0x88,0xF8,0x88,0x88,0x00,0x00}}, // 0x00C4"},
     cp(65, {"{65, 65, 0}", "{196, 196, 1}"}),
     "Codepage \"a.cp\": 2 ranges, default character 0x0041, the first code",
     {first_code_warning("0x0041"), "1 glyph loses ink outside the font's height, clipped: 0x00C4"},
     ""},
    {"marks that do not advance: as wide as their ink, at least 1",
     "t.bdf -r 0x300,0x301,0x41 -o a.sym",
     "t.bdf",
     "-r 0x300,0x301,0x41 --encoding unicode --bpp 1 --hinting native --height ink --width "
     "advance",
     "3 symbols, 6 rows (6 above the baseline), 1 to 5 pixels wide, 6 bytes each",
     {"{{5,6},{0x20,0x50,0x88,0xF8,0x88,0x88}}, // 0x0041",
      "{{1,6},{0x00,0x00,0x00,0x00,0x00,0x00}}, // 0x0300",
      "{{2,6},{0x40,0x80,0x00,0x00,0x00,0x00}}, // 0x0301"},
     cp(65, {"{65, 65, 0}", "{768, 769, 1}"}),
     "Codepage \"a.cp\": 2 ranges, default character 0x0041, the first code",
     {first_code_warning("0x0041")},
     ""},
    {"a fixed width centres the advance and clips what falls outside",
     "t.bdf -r 0x41,0x69 --width fixed=4 -o a.sym",
     "t.bdf",
     "-r 0x41,0x69 --encoding unicode --bpp 1 --hinting native --height ink --width fixed=4",
     "2 symbols, 6 rows (6 above the baseline), 4 pixels wide, 6 bytes each",
     {"{{4,6},{0x40,0xA0,0x10,0xF0,0x10,0x10}}, // 0x0041",
      "{{4,6},{0x00,0x40,0x00,0x40,0x40,0x40}}, // 0x0069"},
     cp(65, {"{65, 65, 0}", "{105, 105, 1}"}),
     "Codepage \"a.cp\": 2 ranges, default character 0x0041, the first code",
     {first_code_warning("0x0041"), "1 glyph loses ink outside the fixed width, clipped: 0x0041"},
     ""},
    {"4-bit grey in a fixed width: columns clipped on both sides",
     "t.bdf -r 0x41 --bpp 4 --width fixed=4 -o a.sym",
     "t.bdf",
     "-r 0x41 --encoding unicode --bpp 4 --hinting native --height ink --width fixed=4",
     "1 symbol, 6 rows (6 above the baseline), 4 pixels wide, 12 bytes each, 4 bits per pixel "
     "(grey levels, 0 black, ink dark)",
     {"{{0,4,4,6},{0xF0,0xFF,0x0F,0x0F,0xFF,0xF0,0x00,0x00,0xFF,0xF0,0xFF,0xF0}}, // 0x0041"},
     cp(65, {"{65, 65, 0}"}),
     "Codepage \"a.cp\": 1 range, default character 0x0041, the first code",
     {first_code_warning("0x0041"), "1 glyph loses ink outside the fixed width, clipped: 0x0041"},
     ""},
    {"b&w wider than a word",
     "t.bdf -r 0x100 -o a.sym",
     "t.bdf",
     "-r 0x100 --encoding unicode --bpp 1 --hinting native --height ink --width advance",
     "1 symbol, 2 rows (2 above the baseline), 70 pixels wide, 18 bytes each",
     {"{{70,2},{0x80,0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x04,0xFF,0xFF,0xFF,0xFF,0xFF,0xFF,0xFF,"
      "0xFF,0xFC}}, // 0x0100"},
     cp(256, {"{256, 256, 0}"}),
     "Codepage \"a.cp\": 1 range, default character 0x0100, the first code",
     {first_code_warning("0x0100")},
     ""},
    {"b&w wider than a word, one column right of a byte's start",
     "t.bdf -r 0x100 --width fixed=73 -o a.sym",
     "t.bdf",
     "-r 0x100 --encoding unicode --bpp 1 --hinting native --height ink --width fixed=73",
     "1 symbol, 2 rows (2 above the baseline), 73 pixels wide, 20 bytes each",
     {"{{73,2},{0x40,0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x02,0x00,0x7F,0xFF,0xFF,0xFF,0xFF,0xFF,"
      "0xFF,0xFF,0xFE,0x00}}, // 0x0100"},
     cp(256, {"{256, 256, 0}"}),
     "Codepage \"a.cp\": 1 range, default character 0x0100, the first code",
     {first_code_warning("0x0100")},
     ""},
    {"codes the font lacks are skipped and listed once",
     "t.bdf -r 0x41-0x43 -o a.sym",
     "t.bdf",
     "-r 0x41-0x43 --encoding unicode --bpp 1 --hinting native --height ink --width advance",
     "1 symbol, 6 rows (6 above the baseline), 5 pixels wide, 6 bytes each",
     {"{{5,6},{0x20,0x50,0x88,0xF8,0x88,0x88}}, // 0x0041"},
     cp(65, {"{65, 65, 0}"}),
     "Codepage \"a.cp\": 1 range, default character 0x0041, the first code",
     {"2 codes have no glyph in the font and were skipped: 0x0042-0x0043",
      first_code_warning("0x0041")},
     ""},
    {"a fallback font fills only the codes the font lacks",
     "t.bdf -r 0x41-0x42 --fallback fb.bdf -o a.sym",
     "t.bdf",
     "-r 0x41-0x42 --encoding unicode --bpp 1 --hinting native --height ink --width advance "
     "--fallback \"fb.bdf\"",
     "2 symbols, 6 rows (6 above the baseline), 5 pixels wide, 6 bytes each",
     {"{{5,6},{0x20,0x50,0x88,0xF8,0x88,0x88}}, // 0x0041",
      "{{5,6},{0xE0,0x90,0xE0,0x90,0x90,0xE0}}, // 0x0042 from \"fb.bdf\""},
     cp(65, {"{65, 66, 0}"}),
     "Codepage \"a.cp\": 1 range, default character 0x0041, the first code",
     {first_code_warning("0x0041")},
     "Fallback \"fb.bdf\" face 0: Tiny Regular, 8 px strike"},
    {"a code above 0xFFFF remapped below it",
     "t.bdf -r '0x1F600=>0xE000,0x41' -o a.sym",
     "t.bdf",
     "-r 0x1F600=>0xE000,0x41 --encoding unicode --bpp 1 --hinting native --height ink --width "
     "advance",
     "2 symbols, 6 rows (6 above the baseline), 5 to 6 pixels wide, 6 bytes each",
     {"{{5,6},{0x20,0x50,0x88,0xF8,0x88,0x88}}, // 0x0041",
      "{{6,6},{0x00,0x70,0xA8,0xF8,0x88,0x70}}, // 0xE000 U+1F600"},
     cp(65, {"{65, 65, 0}", "{57344, 57344, 1}"}),
     "Codepage \"a.cp\": 2 ranges, default character 0x0041, the first code",
     {first_code_warning("0x0041")},
     ""},
    {"codes that are bytes of a code page",
     "t.bdf --encoding cp1251 -r 0xC0-0xC1,0x98 -o a.sym",
     "t.bdf",
     "-r 0xC0-0xC1,0x98 --encoding cp1251 --bpp 1 --hinting native --height ink --width advance",
     "1 symbol, 6 rows (6 above the baseline), 5 pixels wide, 6 bytes each",
     {"{{5,6},{0x70,0x88,0x88,0xF8,0x88,0x88}}, // 0x00C0 U+0410"},
     cp(192, {"{192, 192, 0}"}),
     "Codepage \"a.cp\": 1 range, default character 0x00C0, the first code",
     {"2 codes have no glyph in the font and were skipped: 0x0098, 0x00C1",
      first_code_warning("0x00C0")},
     ""},
    {"a font's own codes in a non-Unicode charset",
     "k.bdf --encoding native -r 0xC1,0xE1 -o a.sym",
     "k.bdf",
     "-r 0xC1,0xE1 --encoding native --bpp 1 --hinting native --height ink --width advance",
     "2 symbols, 5 rows (5 above the baseline), 4 pixels wide, 5 bytes each",
     {"{{4,5},{0x00,0x00,0xE0,0xA0,0xE0}}, // 0x00C1",
      "{{4,5},{0x40,0xA0,0xE0,0xA0,0xA0}}, // 0x00E1"},
     cp(193, {"{193, 193, 0}", "{225, 225, 1}"}),
     "Codepage \"a.cp\": 2 ranges, default character 0x00C1, the first code",
     {first_code_warning("0x00C1")},
     ""},
    {"\"?\" is the default character when it is selected",
     "t.bdf --symbols 'i?' -r 0x41 -o a.sym",
     "t.bdf",
     "-r 0x41 --symbols \"i?\" --encoding unicode --bpp 1 --hinting native --height ink --width "
     "advance",
     "3 symbols, 6 rows (6 above the baseline), 2 to 5 pixels wide, 6 bytes each",
     {"{{4,6},{0x00,0xE0,0x20,0x40,0x00,0x40}}, // 0x003F",
      "{{5,6},{0x20,0x50,0x88,0xF8,0x88,0x88}}, // 0x0041",
      "{{2,6},{0x00,0x80,0x00,0x80,0x80,0x80}}, // 0x0069"},
     cp(63, {"{63, 63, 0}", "{65, 65, 1}", "{105, 105, 2}"}),
     "Codepage \"a.cp\": 3 ranges, default character 0x003F",
     {},
     ""},
};

// The comment lines of the .sym file, which are also the report.
std::vector<std::string> report(const Case& c, const std::string& version) {
  std::vector<std::string> lines = {std::string("Made by tralk-import from \"") + c.font +
                                    "\" face 0: Tiny Regular, 8 px strike, FreeType " + version};
  if (!c.fallback_line.empty()) lines.push_back(c.fallback_line);
  lines.push_back(std::string("Options: ") + c.options);
  const bool bw = std::string(c.args).find("--bpp") == std::string::npos;
  lines.push_back(c.shape + std::string(bw ? kBw : ""));
  return lines;
}

TEST(ImportBdf, ExactFilesForEveryCase) {
  const std::string version = import_test::freetype_version();
  for (const Case& c : kCases) {
    TempDir dir;
    dir.write("t.bdf", kFont);
    dir.write("fb.bdf", kFallback);
    dir.write("k.bdf", kKoi8);
    const RunResult r = run_import(dir.path(), std::string("font ") + c.args);
    std::string sym = "// CP<a.cp>\n", console;
    for (const std::string& line : report(c, version)) {
      sym += "// " + line + "\n";
      console += line + "\n";
    }
    for (const std::string& line : c.symbols) sym += line + "\n";
    console += c.cp_line + std::string("\n");
    for (const std::string& w : c.warnings) console += "warning: " + w + "\n";
    console += "Wrote \"a.sym\" and \"a.cp\"\n";
    EXPECT_EQ(r.status, 0) << c.what;
    EXPECT_EQ(r.out, console) << c.what;
    EXPECT_EQ(TempDir::read(dir.file("a.sym")), sym) << c.what;
    EXPECT_EQ(TempDir::read(dir.file("a.cp")), c.cp) << c.what;
    EXPECT_EQ(files_in(dir.path()),
              (std::set<std::string>{"a.cp", "a.sym", "fb.bdf", "k.bdf", "t.bdf"}))
        << c.what;
    const FontRecord font = read_back(dir.file("a.sym"));
    EXPECT_EQ(font.widths.size(), c.symbols.size()) << c.what;
  }
}

}  // namespace
