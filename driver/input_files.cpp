#include "driver/input_files.h"

#include <utility>

#include "base/console.h"
#include "base/fileio.h"
#include "base/path.h"
#include "base/text.h"
#include "bitmap/bmp_header.h"
#include "fonts/cp_load.h"
#include "fonts/pal_load.h"
#include "fonts/sym_load.h"

namespace {

// The word of a text input's failure: it could not be opened (Fault::io),
// its text is wrong (Fault::format) or memory ran out.
const char* text_failure_word(Fault code) {
  switch (code) {
    case Fault::io:
    case Fault::not_found:
      return "Open error";
    case Fault::too_large:
      return "Heap error";
    default:
      return "Syntax error";
  }
}

// What the reader made of the file at path: the file cannot be opened
// (Fault::io), or the reader's outcome on its bytes.
template <class T, class Read>
Outcome<T> read_input(const std::string& path, Read read) {
  const std::optional<FileBytes> bytes = read_input_file(path);
  if (!bytes) return Failure{Fault::io, ""};
  return read(TextBytes(bytes->data(), bytes->size));
}

// --quiet's one line for a text input's failure: a syntax error at its
// line; a file that cannot be opened, or memory, at the file.
void text_failure_line(const Failure& failed, const std::string& path, const std::string& text) {
  con_error_line(path, failed.code == Fault::format ? failed.at.line : 0, text);
}

// The codepage cpname, beside the .sym file at sym_path; none after its
// message. One that cannot be opened is the fault of the .sym file's first
// line, which names it.
std::unique_ptr<CPTABLE> load_codepage(const std::string& sym_path, const std::string& cpname) {
  const std::optional<std::string> cp_path = path_setname(sym_path, cpname);
  if (!cp_path) {
    con_error_line(sym_path, 1, "Error loading codepage specificed");
    return nullptr;
  }
  Outcome<CPTABLE> table = read_input<CPTABLE>(*cp_path, cp_load);
  if (!table.ok()) {
    con_printf("%s", cp_failure_text(table.failure(), *cp_path).c_str());
    if (table.code() == Fault::io)
      con_error_line(sym_path, 1, "Open error in .cp file " + in_quotes(*cp_path));
    else
      text_failure_line(table.failure(), *cp_path, text_failure_word(table.code()));
    return nullptr;
  }
  return std::make_unique<CPTABLE>(std::move(table.value()));
}

}  // namespace

std::string sym_failure_text(const Failure& failed, const std::string& path) {
  const std::string where = " in sym file " + in_quotes(path);
  if (failed.code == Fault::format)
    return "\n Syntax error detected on symbol " + std::to_string(failed.at.item) + where;
  return std::string("\n ") + text_failure_word(failed.code) + where;
}

std::string cp_failure_text(const Failure& failed, const std::string& path) {
  return std::string("\n ") + text_failure_word(failed.code) + " in .cp file " + in_quotes(path);
}

std::string pal_failure_text(const Failure& failed, const std::string& path) {
  return std::string("\n ") + text_failure_word(failed.code) + " in pal file " + in_quotes(path);
}

namespace {

// The words of a picture's failure, and whether the file's name follows.
struct PictureWords {
  std::string text;
  bool names_file = true;
};

PictureWords picture_words(const Failure& failed, bool grey) {
  const char* conversion = grey ? "Grey scale conversion error" : "Color conversion error";
  const BmpField field = bmp_field(failed);
  const char* text = "Error: BMP format";
  switch (failed.code) {
    case Fault::io:
    case Fault::not_found:
      text = "\n Open error";
      break;
    case Fault::cut_short:
      text = field == BmpField::headers ? "Error: File read" : "Error File read";
      break;
    case Fault::unsupported:
      text = field == BmpField::compression ? "Error: BMP compression formats not supported"
                                            : "Error: BMP transparency not supported";
      break;
    case Fault::too_large:
      if (field == BmpField::conversion)
        return {std::string("\nHeap error during sym creation") +
                    (grey ? "\nSymbol header error" : "") + conversion,
                false};
      if (field == BmpField::font) return {"Error heap alloc", false};
      text = field == BmpField::colour_table ? "Error Heap alloc" : "Error heap alloc";
      break;
    case Fault::usage:
      if (field == BmpField::palette) return {"Color conversion parameter error", false};
      return {conversion, false};
    case Fault::format:
      if (field == BmpField::conversion) return {conversion, false};
      if (field == BmpField::signature) text = "Error: Not a BMP file";
      if (field == BmpField::dimensions) text = "Error: BMP Format";
      break;
  }
  return {text};
}

// A message as one line: its first line break and blanks dropped, the
// others made "; ".
std::string one_line(std::string text) {
  const size_t start = text.find_first_not_of("\n ");
  text.erase(0, start == std::string::npos ? text.size() : start);
  for (size_t at; (at = text.find('\n')) != std::string::npos;) text.replace(at, 1, "; ");
  return text;
}

}  // namespace

std::string picture_failure_text(const Failure& failed, bool grey, const std::string& path) {
  const PictureWords words = picture_words(failed, grey);
  return words.names_file ? words.text + " File " + in_quotes(path) : words.text;
}

SymFontPtr load_font_file(const std::string& path, std::optional<std::string>& cpname) {
  cpname.reset();
  Outcome<SymLoaded> read = read_input<SymLoaded>(path, sym_load);
  if (!read.ok()) {
    con_printf("%s", sym_failure_text(read.failure(), path).c_str());
    text_failure_line(read.failure(), path,
                      read.code() == Fault::format ? "Syntax error detected on symbol " +
                                                         std::to_string(read.failure().at.item)
                                                   : text_failure_word(read.code()));
    return nullptr;
  }
  SymLoaded& loaded = read.value();
  if (loaded.cpname) {
    loaded.font->codepage = load_codepage(path, *loaded.cpname);
    if (!loaded.font->codepage) {
      con_printf("\n Error loading codepage specificed in sym file %s", in_quotes(path).c_str());
      return nullptr;
    }
  }
  cpname = std::move(loaded.cpname);
  return std::move(loaded.font);
}

PalTablePtr load_palette_file(const std::string& path, bool error) {
  Outcome<PALTABLE> read = read_input<PALTABLE>(path, pal_load);
  if (!read.ok()) {
    con_printf("%s", pal_failure_text(read.failure(), path).c_str());
    if (error) text_failure_line(read.failure(), path, text_failure_word(read.code()));
    return nullptr;
  }
  return std::make_unique<PALTABLE>(std::move(read.value()));
}

std::optional<PictureFont> load_picture_file(const std::string& path, const RGBTRIPLET* palette,
                                             uint32_t n, bool grey) {
  Outcome<FileSource> file = FileSource::open(path);
  Outcome<PictureFont> loaded =
      file.ok() ? bmp_load(file.value(), palette, n) : Outcome<PictureFont>(file.failure());
  if (!loaded.ok()) {
    con_printf("%s", picture_failure_text(loaded.failure(), grey, path).c_str());
    con_error_line(path, 0, one_line(picture_words(loaded.failure(), grey).text));
    return std::nullopt;
  }
  return std::move(loaded.value());
}
