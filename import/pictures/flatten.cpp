#include "import/pictures/flatten.h"

namespace tralk::importer {

uint8_t flatten_channel(uint32_t c, uint32_t a, uint8_t bg, uint32_t max) {
  const uint64_t s = max / 255;
  const uint64_t num = uint64_t{c} * a + bg * s * (max - a);
  const uint64_t den = uint64_t{max} * s;
  return static_cast<uint8_t>((2 * num + den) / (2 * den));
}

namespace {

template <unsigned Bytes>
uint32_t sample(const uint8_t* p) {
  if constexpr (Bytes == 1) return p[0];
  return uint32_t{p[0]} << 8 | p[1];
}

template <unsigned Bytes>
bool flatten_row(const uint8_t* rgba, uint32_t width, RGBTRIPLET bg, uint8_t* rgb) {
  constexpr uint32_t max = Bytes == 1 ? 0xFF : 0xFFFF;
  const uint8_t background[3] = {bg.r, bg.g, bg.b};
  bool transparent = false;
  for (uint32_t x = 0; x < width; ++x, rgba += 4 * Bytes, rgb += 3) {
    const uint32_t a = sample<Bytes>(rgba + 3 * Bytes);
    transparent = transparent || a != max;
    for (unsigned i = 0; i < 3; ++i)
      rgb[i] = flatten_channel(sample<Bytes>(rgba + i * Bytes), a, background[i], max);
  }
  return transparent;
}

}  // namespace

bool flatten_rgba_row(const uint8_t* rgba, unsigned bits, uint32_t width, RGBTRIPLET bg,
                      uint8_t* rgb) {
  return bits == 16 ? flatten_row<2>(rgba, width, bg, rgb) : flatten_row<1>(rgba, width, bg, rgb);
}

}  // namespace tralk::importer
