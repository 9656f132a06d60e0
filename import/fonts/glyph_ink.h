// One glyph rendered by FreeType and reduced to its ink: the pixels whose
// coverage, rounded to the nearest of the output's levels, is not blank.
#pragma once

#include <cstdint>
#include <vector>

#include "base/outcome.h"
#include "import/fonts/bit_rows.h"
#include "import/fonts/font_options.h"
#include "import/fonts/freetype_handles.h"

namespace tralk::importer {

struct RenderSettings {
  unsigned bpp = 1;  // output depth: 1, 2, 4 or 8
  Hinting hinting = Hinting::native;
  // The largest glyph taken, in pixels each way: anything larger is a
  // damaged font, and would only exhaust memory.
  uint32_t max_side = 0;
};

// The largest glyph a font of size pixels per em can sensibly have.
inline uint32_t glyph_side_limit(uint32_t size) {
  return 8 * size + 64;
}

struct GlyphInk {
  int advance = 0;  // pen advance, pixels
  // The ink box: its top left pixel in columns right of the origin and rows
  // below the baseline (negative above it), and its size; 0 x 0 for a
  // glyph without ink.
  int left = 0;
  int top = 0;
  uint32_t width = 0;
  uint32_t height = 0;
  // The ink level of each pixel of the box, 0 to 2^bpp - 1, bpp bits a pixel
  // as in a symbol's row (bit_rows.h), in a block that holds the levels of
  // every glyph (one allocation, not one a glyph): height rows from byte
  // levels_at on, top first, stride bytes apart, each starting first_bit
  // bits into the row; then kBitRowSlack bytes.
  size_t levels_at = 0;
  uint32_t stride = 0;
  uint32_t first_bit = 0;

  bool has_ink() const { return width != 0; }
  const uint8_t* row(const std::vector<uint8_t>& levels, uint32_t y) const {
    return levels.data() + levels_at + size_t{y} * stride;
  }
};

// Nearest of levels 0 to max_level for a coverage from 0 to max_coverage,
// halves rounded up.
inline uint32_t coverage_level(uint32_t coverage, uint32_t max_coverage, uint32_t max_level) {
  return (2 * coverage * max_level + max_coverage) / (2 * max_coverage);
}

// Loads and renders glyph index of face as the settings say, adding its
// levels to the block levels; a failure with FreeType's reason, or the size
// of a glyph far larger than its font's.
Outcome<GlyphInk> render_glyph(FT_Library library, FT_Face face, FT_UInt index,
                               const RenderSettings& settings, std::vector<uint8_t>& levels);

}  // namespace tralk::importer
