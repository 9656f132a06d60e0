// Palettes written as .pal files, the form tralk's palette reader takes: a
// comment line saying what the palette is for, then "{", one entry a line
// ("{r, g, b}", palette index 0 first), "}".
#pragma once

#include <string>
#include <vector>

#include "base/palette.h"

namespace tralk::importer {

// The .pal text of entries (1 to 256), under the comment "/* about */"
// (about holds no "*/").
std::string pal_text(const std::vector<RGBTRIPLET>& entries, const std::string& about);

}  // namespace tralk::importer
