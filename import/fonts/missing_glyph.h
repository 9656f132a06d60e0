// The symbol a font draws for the characters it lacks: the box of an
// outline font's glyph 0 (".notdef"), or the default character a BDF or PCF
// font names. The default character of an import is this symbol when "?"
// is not among the symbols, so that a missing character never looks like a
// real one. Where that symbol would make every symbol larger, a box is
// drawn instead: the default character an import adds must never cost every
// symbol bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "import/fonts/cell_layout.h"
#include "import/fonts/font_face.h"
#include "import/fonts/glyph_ink.h"

namespace tralk::importer {

struct MissingGlyph {
  FT_UInt glyph = 0;
  std::string what;  // "missing-glyph box (glyph 0)", "default character 0x0000"
};

// The font's symbol for missing characters; none for a bitmap font that
// names no default character (FreeType's glyph 0 is then a real character).
std::optional<MissingGlyph> missing_glyph(const FontFace& font);

// A box width pixels wide and as high as the cell of layout: a rectangle one
// pixel thick in full ink, over every row of the cell, with a blank column
// either side when width is 4 or more. Its levels, at bpp bits a pixel, are
// added to the block levels.
GlyphInk draw_box(uint32_t width, const CellLayout& layout, unsigned bpp,
                  std::vector<uint8_t>& levels);

}  // namespace tralk::importer
