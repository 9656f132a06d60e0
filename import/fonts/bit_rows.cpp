#include "import/fonts/bit_rows.h"

#include <algorithm>

namespace tralk::importer {

namespace {

// Bits moved at once: a 64-bit word holds them after a shift of up to 7
// bits either way. A multiple of 8, so that both offsets stay the same
// within their bytes from one word to the next.
constexpr uint64_t kWordBits = 56;

// 8 bytes from p, the first in the most significant bits.
uint64_t load_big_endian(const uint8_t* p) {
  uint64_t v = 0;
  for (int i = 0; i < 8; ++i) v = v << 8 | p[i];
  return v;
}

}  // namespace

void xor_bits(uint8_t* dst, uint64_t dst_bit, const uint8_t* src, uint64_t src_bit,
              uint64_t count) {
  dst += dst_bit / 8;
  src += src_bit / 8;
  const unsigned to_shift = dst_bit % 8, from_shift = src_bit % 8;
  while (count > 0) {
    const uint64_t n = std::min(count, kWordBits);
    // The n bits at the top of the word, then moved to their place in dst.
    const uint64_t bits =
        (load_big_endian(src) << from_shift & ~uint64_t{0} << (64 - n)) >> to_shift;
    const uint64_t bytes = (to_shift + n + 7) / 8;
    for (uint64_t k = 0; k < bytes; ++k) dst[k] ^= static_cast<uint8_t>(bits >> (56 - 8 * k));
    dst += n / 8;
    src += n / 8;
    count -= n;
  }
}

}  // namespace tralk::importer
