// The C header of --names-header: for each glyph taken by name, its text as
// the display library reads it (the UTF-8 bytes of its code) and its code,
// so that an application writes ICON_WIFI instead of "\xEF\x87\xAB".
#pragma once

#include <string>
#include <vector>

#include "base/outcome.h"
#include "import/fonts/named_glyphs.h"

namespace tralk::importer {

// "ICON_BATTERY_FULL" for "battery-full": ICON_ and the name in capitals,
// every byte but a letter, a digit or "_" made "_".
std::string icon_macro(const std::string& name);

// The text of the header at header_path for glyphs, in their order, which
// the font sym_name holds. A failure (Fault::format) naming both names
// where two give one macro.
Outcome<std::string> names_header_text(const std::vector<NamedGlyph>& glyphs,
                                       const std::string& header_path, const std::string& sym_name);

}  // namespace tralk::importer
