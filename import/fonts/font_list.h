// What "tralk-import font FONTFILE --list" prints: every face of a font file
// with its format, glyph count, charmaps and strikes.
#pragma once

#include <string>

#include "import/fonts/freetype_handles.h"

// The listing of the font at path; false, with the reason in error, when
// FreeType cannot open it.
bool list_font(FT_Library library, const std::string& path, std::string& out, std::string& error);
