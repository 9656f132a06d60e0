#include "import/pictures/colour_table.h"

#include <algorithm>
#include <bit>

namespace tralk::importer {

namespace {

RGBTRIPLET colour_of(uint32_t value) {
  return {static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 8),
          static_cast<uint8_t>(value)};
}

// The picture's distinct colours in ascending order, or none when there are
// more than limit; count is their number either way. One bit per possible
// colour (2 MiB) counts them exactly in one pass.
std::vector<uint32_t> distinct_colours(const RgbPicture& pic, uint32_t limit, uint32_t& count) {
  std::vector<uint64_t> seen(size_t{1} << 18);
  count = 0;
  for (size_t i = 0; i + 2 < pic.rgb.size(); i += 3) {
    const uint32_t v = colour_value({pic.rgb[i], pic.rgb[i + 1], pic.rgb[i + 2]});
    const uint64_t bit = uint64_t{1} << (v & 63);
    if ((seen[v >> 6] & bit) == 0) ++count;
    seen[v >> 6] |= bit;
  }
  std::vector<uint32_t> colours;
  if (count > limit) return colours;
  for (size_t i = 0; i < seen.size(); ++i)
    for (uint64_t w = seen[i]; w != 0; w &= w - 1)
      colours.push_back(static_cast<uint32_t>(i * 64 + std::countr_zero(w)));
  return colours;
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

ColourTable colour_table(const RgbPicture& pic, unsigned bits, RGBTRIPLET background) {
  ColourTable table;
  const std::vector<uint32_t> colours = distinct_colours(pic, 1u << bits, table.colours);
  if (colours.empty()) return table;
  if (bits == 1) {
    table.entries = bw_table(colours, background);
  } else {
    for (uint32_t v : colours) table.entries.push_back(colour_of(v));
  }
  return table;
}

}  // namespace tralk::importer
