// What "tralk-import font FONTFILE --list" prints: every face of a font file
// with its format, glyph count, charmaps and strikes.
#pragma once

#include <string>

#include "base/outcome.h"
#include "import/fonts/freetype_handles.h"

namespace tralk::importer {

// The listing of the font at path; a failure, with the reason, when
// FreeType cannot open it.
Outcome<std::string> list_font(FT_Library library, const std::string& path);

}  // namespace tralk::importer
