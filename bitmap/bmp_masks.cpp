#include "bitmap/bmp_masks.h"

#include <bit>

#include "bitmap/symbol.h"

uint8_t MaskedPixels::Channel::take(uint32_t pixel) const {
  const uint32_t v = (pixel & mask) >> shift;
  if (width >= 8) return static_cast<uint8_t>(v >> (width - 8));
  return widened[v];
}

MaskedPixels::MaskedPixels(const std::array<uint32_t, 4>& masks, uint16_t bits)
    : bytes_(bits / 8u) {
  for (unsigned i = 0; i < 4; ++i) {
    Channel& c = i < 3 ? colour_[i] : alpha_;
    c.mask = masks[i];
    if (c.mask == 0) continue;
    c.shift = static_cast<unsigned>(std::countr_zero(c.mask));
    c.width = static_cast<unsigned>(std::popcount(c.mask));
    if (c.width < 8) {
      for (uint32_t v = 0; v < (1u << c.width); ++v) c.widened[v] = rgb_widen(v, c.width);
    }
  }
}

uint32_t MaskedPixels::pixel_at(const uint8_t* p) const {
  uint32_t pixel = uint32_t{p[0]} | uint32_t{p[1]} << 8;
  if (bytes_ == 4) pixel |= uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
  return pixel;
}

void MaskedPixels::to_bgr(const uint8_t* file_row, uint8_t* bgr, uint32_t width) {
  const uint32_t alpha = alpha_.mask;
  bool opaque = true;
  for (uint32_t x = 0; x < width; ++x, file_row += bytes_, bgr += 3) {
    const uint32_t pixel = pixel_at(file_row);
    bgr[0] = colour_[2].take(pixel);
    bgr[1] = colour_[1].take(pixel);
    bgr[2] = colour_[0].take(pixel);
    opaque = opaque && (pixel & alpha) == alpha;
  }
  opaque_ = opaque_ && opaque;
}

void MaskedPixels::to_alpha(const uint8_t* file_row, uint8_t* alpha, uint32_t width) const {
  for (uint32_t x = 0; x < width; ++x, file_row += bytes_)
    alpha[x] = alpha_.take(pixel_at(file_row));
}
