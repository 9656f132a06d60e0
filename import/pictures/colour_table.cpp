#include "import/pictures/colour_table.h"

#include <algorithm>
#include <bit>

namespace tralk::importer {

namespace {

RGBTRIPLET colour_of(uint32_t value) {
  return {static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 8),
          static_cast<uint8_t>(value)};
}

// Lighter first; of two equally bright, the higher value first.
bool paper_first(RGBTRIPLET a, RGBTRIPLET b) {
  if (rgb_brightness(a) != rgb_brightness(b)) return rgb_brightness(a) > rgb_brightness(b);
  return colour_value(a) > colour_value(b);
}

std::vector<RGBTRIPLET> bw_table(const std::vector<uint32_t>& colours, RGBTRIPLET background) {
  std::vector<RGBTRIPLET> table{colour_of(colours[0]),
                                colours.size() > 1 ? colour_of(colours[1]) : background};
  if (paper_first(table[1], table[0])) std::swap(table[0], table[1]);
  return table;
}

}  // namespace

void ColourCounter::add_row(const uint8_t* rgb, uint32_t width) {
  for (uint32_t x = 0; x < width; ++x, rgb += 3) {
    const uint32_t v = colour_value({rgb[0], rgb[1], rgb[2]});
    const uint64_t bit = uint64_t{1} << (v & 63);
    if ((seen_[v >> 6] & bit) == 0) ++count_;
    seen_[v >> 6] |= bit;
  }
}

ColourTable ColourCounter::table(unsigned bits, RGBTRIPLET background) const {
  ColourTable table;
  table.colours = count_;
  if (count_ == 0 || count_ > (1u << bits)) return table;
  std::vector<uint32_t> colours;
  for (size_t i = 0; i < seen_.size(); ++i)
    for (uint64_t w = seen_[i]; w != 0; w &= w - 1)
      colours.push_back(static_cast<uint32_t>(i * 64 + std::countr_zero(w)));
  if (bits == 1) {
    table.entries = bw_table(colours, background);
  } else {
    for (uint32_t v : colours) table.entries.push_back(colour_of(v));
  }
  return table;
}

}  // namespace tralk::importer
