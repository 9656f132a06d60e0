#include "import/pictures/nearest_colour.h"

#include <utility>

namespace tralk::importer {

NearestColour::NearestColour(std::vector<RGBTRIPLET> palette)
    : palette_(std::move(palette)), cache_(size_t{1} << kCacheBits) {}

NearestColour::Slot NearestColour::search(uint32_t colour) const {
  const int r = static_cast<int>(colour >> 16), g = static_cast<int>(colour >> 8 & 0xFF),
            b = static_cast<int>(colour & 0xFF);
  Slot best{colour, 0, false};
  int least = -1;
  for (size_t i = 0; i < palette_.size(); ++i) {
    const RGBTRIPLET& p = palette_[i];
    const int dr = r - p.r, dg = g - p.g, db = b - p.b;
    const int d = dr * dr + dg * dg + db * db;
    if (least < 0 || d < least) {
      least = d;
      best.index = static_cast<uint8_t>(i);
    }
  }
  best.exact = least == 0;
  return best;
}

uint8_t NearestColour::operator()(const uint8_t* rgb) {
  const uint32_t colour = uint32_t{rgb[0]} << 16 | uint32_t{rgb[1]} << 8 | rgb[2];
  // Fibonacci hashing spreads colours that differ in their low bits.
  Slot& slot = cache_[(colour * 2654435761u) >> (32 - kCacheBits)];
  if (slot.colour != colour) slot = search(colour);
  if (!slot.exact) ++moved_;
  return slot.index;
}

}  // namespace tralk::importer
