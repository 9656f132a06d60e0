#include "fonts/sym_load.h"

#include <cstdio>
#include <filesystem>
#include <new>
#include <string_view>
#include <system_error>

#include "driver/console.h"
#include "driver/fileio.h"
#include "driver/path.h"
#include "fonts/cp_load.h"
#include "fonts/sym_parse.h"
#include "fonts/textscan.h"

namespace {

// Size of the file at path; 0 when it cannot be told.
uint64_t text_size(const char* path) {
  std::error_code ec;
  const uintmax_t size = std::filesystem::file_size(path, ec);
  return ec ? 0 : size;
}

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

Markers read_markers(std::FILE* file, bool want_pal) {
  const char* line = lex_readline(file);
  Markers m;
  if (!line) return m;
  m.cp = find_marker(line, "CP<");
  if (want_pal) m.pal = find_marker(line, "PAL<");
  return m;
}

// The body the fast way (fonts/sym_parse.h); false when that fails or cannot
// vouch for its result, and the lexer has to read the body again.
bool parse_fast(std::FILE* file, uint64_t text_bytes, SYMFONT& font) {
  try {
    ChunkTokens tokens(file);
    SymParser<ChunkTokens> parser(tokens);
    parser.reserve_for(text_bytes);
    if (!parser.parse() || tokens.spoiled()) return false;
    parser.fill(font);
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

// The codepage stands beside the .sym file, whatever directory its marker
// names.
std::unique_ptr<CPTABLE> load_codepage(const char* sym_path, const std::string& cpname) {
  const std::optional<std::string> cp_path = path_setname(sym_path, cpname);
  return cp_path ? cp_load(cp_path->c_str()) : nullptr;
}

// Prints the message of a failure and returns none.
SymFontPtr read_font(const char* path, bool want_pal, Markers& markers) {
  FilePtr file = file_open(path, "rb");
  if (!file) {
    con_printf("\n Open error");
    return nullptr;
  }
  // The first line, where the markers stand, begins after a byte order mark.
  file_skip_bom(file.get());
  markers = read_markers(file.get(), want_pal);
  std::rewind(file.get());
  file_skip_bom(file.get());
  auto font = std::make_unique<SYMFONT>();
  const uint64_t text_bytes = text_size(path);
  // Failures are always the lexer's, so their messages name the same symbol.
  if (!parse_fast(file.get(), text_bytes, *font)) {
    std::rewind(file.get());
    file_skip_bom(file.get());
    LexTokens tokens;
    SymParser<LexTokens> parser(tokens);
    parser.reserve_for(text_bytes);
    {
      LexSession lex(file.get());
      if (!parser.parse()) {
        con_printf("\n Syntax error detected on symbol %u", static_cast<unsigned>(parser.numsym()));
        return nullptr;
      }
    }
    parser.fill(*font);
  }
  // The lexer serves one stream at a time: the codepage is read only once
  // this file is done with.
  file.reset();
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
