#include "import/pictures/palette_rows.h"

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

PaletteRows::PaletteRows(const std::vector<RGBTRIPLET>& palette, bool diffused, uint32_t width)
    : palette_(palette), nearest_(palette), width_(width) {
  if (diffused) diffusion_.emplace(width, 3);
}

void PaletteRows::row(const uint8_t* rgb, uint8_t* indices) {
  for (uint32_t x = 0; x < width_; ++x, rgb += 3) {
    uint8_t wanted[3] = {rgb[0], rgb[1], rgb[2]};
    if (diffusion_)
      for (unsigned c = 0; c < 3; ++c)
        wanted[c] = static_cast<uint8_t>(diffusion_->value(x, c, rgb[c]));
    const uint8_t k = nearest_(wanted);
    const RGBTRIPLET& entry = palette_[k];
    if (diffusion_) {
      const uint8_t got[3] = {entry.r, entry.g, entry.b};
      for (unsigned c = 0; c < 3; ++c) diffusion_->spread(x, c, wanted[c] - got[c]);
    }
    if (!(entry == RGBTRIPLET{rgb[0], rgb[1], rgb[2]})) ++moved_;
    indices[x] = k;
  }
  if (diffusion_) diffusion_->next_row();
}

}  // namespace tralk::importer
