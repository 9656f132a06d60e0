#include "fonts/sym_load.h"

#include <new>
#include <string_view>

#include "base/console.h"
#include "base/path.h"
#include "fonts/cp_load.h"
#include "fonts/sym_parse.h"
#include "fonts/textscan.h"

namespace {

// Names given by markers on the first line of the file.
struct Markers {
  std::optional<std::string> cp;
  std::optional<std::string> pal;
};

// The text after the first occurrence of marker, up to the next ">" or the
// end of the line.
std::optional<std::string> find_marker(std::string_view line, std::string_view marker) {
  const auto at = line.find(marker);
  if (at == std::string_view::npos) return std::nullopt;
  const std::string_view rest = line.substr(at + marker.size());
  return std::string(rest.substr(0, rest.find('>')));
}

// The first line, after a byte order mark, as far as a line read keeps it.
Markers read_markers(const TextFile& text, bool want_pal) {
  Scanner<MemoryBytes> first(text.body());
  const std::string_view line = first.readline();
  Markers m;
  m.cp = find_marker(line, "CP<");
  if (want_pal) m.pal = find_marker(line, "PAL<");
  return m;
}

// The codepage stands beside the .sym file, whatever directory its marker
// names.
std::unique_ptr<CPTABLE> load_codepage(const char* sym_path, const std::string& cpname) {
  const std::optional<std::string> cp_path = path_setname(sym_path, cpname);
  return cp_path ? cp_load(cp_path->c_str()) : nullptr;
}

// Prints the message of a failure and returns none.
SymFontPtr read_font(const char* path, bool want_pal, Markers& markers) {
  std::optional<TextFile> text = read_text_file(path);
  if (!text) {
    con_printf("\n Open error");
    return nullptr;
  }
  markers = read_markers(*text, want_pal);
  auto font = std::make_unique<SYMFONT>();
  {
    Tokens tokens(*text);
    SymParser parser(tokens);
    parser.reserve_for(text->size);
    if (!parser.parse()) {
      con_printf("\n Syntax error detected on symbol %u", static_cast<unsigned>(parser.numsym()));
      return nullptr;
    }
    parser.fill(*font);
  }
  text.reset();
  if (markers.cp) {
    font->codepage = load_codepage(path, *markers.cp);
    if (!font->codepage) {
      con_printf("\n Error loading codepage specificed");
      return nullptr;
    }
  }
  return font;
}

}  // namespace

SymFontPtr sym_load(const char* path, std::optional<std::string>* cpname_out,
                    std::optional<std::string>* palname_out) {
  if (cpname_out) cpname_out->reset();
  if (palname_out) palname_out->reset();
  if (!path) return nullptr;
  try {
    Markers markers;
    if (auto font = read_font(path, palname_out != nullptr, markers)) {
      if (cpname_out) *cpname_out = std::move(markers.cp);
      if (palname_out) *palname_out = std::move(markers.pal);
      return font;
    }
  } catch (const std::bad_alloc&) {
    con_printf("\n Heap error");
  }
  con_printf(" in sym file \"%s\"", path);
  return nullptr;
}
