// The symbol drawn for missing characters where the font's own (its U+FFFD,
// missing-glyph box or default character) would make every symbol larger:
// the default character an import adds must never cost every symbol bytes.
#pragma once

#include <cstdint>
#include <vector>

#include "import/fonts/cell_layout.h"
#include "import/fonts/glyph_ink.h"

namespace tralk::importer {

// A box width pixels wide and as high as the cell of layout: a rectangle one
// pixel thick in full ink, over every row of the cell, with a blank column
// either side when width is 4 or more. Its levels, at bpp bits a pixel, are
// added to the block levels.
GlyphInk draw_box(uint32_t width, const CellLayout& layout, unsigned bpp,
                  std::vector<uint8_t>& levels);

}  // namespace tralk::importer
