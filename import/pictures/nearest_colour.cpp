#include "import/pictures/nearest_colour.h"

#include <utility>

namespace tralk::importer {

NearestColour::NearestColour(std::vector<RGBTRIPLET> palette)
    : palette_(std::move(palette)), cache_(size_t{1} << kCacheBits) {}

uint8_t NearestColour::search(uint32_t colour) const {
  const int r = static_cast<int>(colour >> 16), g = static_cast<int>(colour >> 8 & 0xFF),
            b = static_cast<int>(colour & 0xFF);
  uint8_t best = 0;
  int least = -1;
  for (size_t i = 0; i < palette_.size(); ++i) {
    const RGBTRIPLET& p = palette_[i];
    const int dr = r - p.r, dg = g - p.g, db = b - p.b;
    const int d = dr * dr + dg * dg + db * db;
    if (least < 0 || d < least) {
      least = d;
      best = static_cast<uint8_t>(i);
    }
  }
  return best;
}

uint8_t NearestColour::operator()(const uint8_t* rgb) {
  const uint32_t colour = uint32_t{rgb[0]} << 16 | uint32_t{rgb[1]} << 8 | rgb[2];
  // Fibonacci hashing spreads colours that differ in their low bits.
  Slot& slot = cache_[(colour * 2654435761u) >> (32 - kCacheBits)];
  if (slot.colour != colour) slot = {colour, search(colour)};
  return slot.index;
}

}  // namespace tralk::importer
