// The symbol a font draws for the characters it lacks: the box of an
// outline font's glyph 0 (".notdef"), or the default character a BDF or PCF
// font names. The default character of an import is this symbol when "?"
// is not among the symbols, so that a missing character never looks like a
// real one.
#pragma once

#include <optional>
#include <string>

#include "import/fonts/font_face.h"

namespace tralk::importer {

struct MissingGlyph {
  FT_UInt glyph = 0;
  std::string what;  // "missing-glyph box (glyph 0)", "default character 0x0000"
};

// The font's symbol for missing characters; none for a bitmap font that
// names no default character (FreeType's glyph 0 is then a real character).
std::optional<MissingGlyph> missing_glyph(const FontFace& font);

}  // namespace tralk::importer
