#include "import/fonts/default_box.h"

#include "import/fonts/bit_rows.h"

namespace tralk::importer {

namespace {

constexpr uint32_t kMarginFrom = 4;

void set_ink(uint8_t* row, uint32_t x, unsigned bpp) {
  const uint32_t bit = x * bpp;
  const unsigned full = (1u << bpp) - 1;
  row[bit / 8] |= static_cast<uint8_t>(full << (8 - bpp - bit % 8));
}

}  // namespace

GlyphInk draw_box(uint32_t width, const CellLayout& layout, unsigned bpp,
                  std::vector<uint8_t>& levels) {
  const uint32_t margin = width >= kMarginFrom ? 1 : 0;
  GlyphInk box;
  box.advance = static_cast<int>(width);
  box.left = static_cast<int>(margin);
  box.top = -layout.ascent;
  box.width = width - 2 * margin;
  box.height = layout.height;
  box.stride = (box.width * bpp + 7) / 8;
  box.levels_at = levels.size();
  levels.resize(levels.size() + size_t{box.stride} * box.height + kBitRowSlack);
  for (uint32_t y = 0; y < box.height; ++y) {
    uint8_t* row = levels.data() + box.levels_at + size_t{y} * box.stride;
    const bool edge = y == 0 || y + 1 == box.height;
    for (uint32_t x = 0; x < box.width; ++x)
      if (edge || x == 0 || x + 1 == box.width) set_ink(row, x, bpp);
  }
  return box;
}

}  // namespace tralk::importer
