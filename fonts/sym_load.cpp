#include "fonts/sym_load.h"

#include <new>
#include <string_view>

#include "fonts/sym_format.h"
#include "fonts/sym_parse.h"

namespace {

// The text after the first occurrence of marker, up to the next ">" or the
// end of the line.
std::optional<std::string> find_marker(std::string_view line, std::string_view marker) {
  const auto at = line.find(marker);
  if (at == std::string_view::npos) return std::nullopt;
  const std::string_view rest = line.substr(at + marker.size());
  return std::string(rest.substr(0, rest.find(kSymMarkerEnd)));
}

// The first line, after a byte order mark, as far as a line read keeps it.
void read_markers(TextBytes text, SymLoaded& loaded) {
  Scanner<MemoryBytes> first(text_body(text));
  const std::string_view line = first.readline();
  loaded.cpname = find_marker(line, kSymCodepageMarker);
  loaded.palname = find_marker(line, kSymPaletteMarker);
}

}  // namespace

Outcome<SymLoaded> sym_load(TextBytes text) {
  try {
    SymLoaded loaded;
    loaded.font = std::make_unique<SYMFONT>();
    Tokens tokens(text);
    SymParser parser(tokens);
    parser.reserve_for(text.size());
    if (!parser.parse()) {
      Failure failed{Fault::format, ""};
      failed.at.item = parser.numsym();
      failed.at.line = tokens.line();
      return failed;
    }
    parser.fill(*loaded.font);
    read_markers(text, loaded);
    return loaded;
  } catch (const std::bad_alloc&) {
    return Failure{Fault::too_large, ""};
  }
}
