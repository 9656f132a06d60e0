// Eight bytes a step (slicing-by-8): table k gives the CRC of a byte followed
// by k zero bytes, so that eight table reads replace eight dependent steps.
// 8 MiB take a few milliseconds.
#include "base/crc32.h"

#include <array>

namespace {

constexpr uint32_t kReflectedPolynomial = 0xEDB88320u;

using Tables = std::array<std::array<uint32_t, 256>, 8>;

constexpr Tables make_tables() {
  Tables t{};
  for (uint32_t b = 0; b < 256; ++b) {
    uint32_t c = b;
    for (int bit = 0; bit < 8; ++bit) c = (c & 1) ? (c >> 1) ^ kReflectedPolynomial : c >> 1;
    t[0][b] = c;
  }
  for (size_t k = 1; k < 8; ++k)
    for (uint32_t b = 0; b < 256; ++b) t[k][b] = (t[k - 1][b] >> 8) ^ t[0][t[k - 1][b] & 0xFF];
  return t;
}

constexpr Tables kTables = make_tables();

}  // namespace

uint32_t crc32_update(uint32_t crc, const uint8_t* data, size_t n) {
  uint32_t c = ~crc;
  // Bytes are combined in little-endian order whatever the host.
  for (; n >= 8; data += 8, n -= 8) {
    const uint32_t lo = c ^ (uint32_t{data[0]} | uint32_t{data[1]} << 8 | uint32_t{data[2]} << 16 |
                             uint32_t{data[3]} << 24);
    const uint32_t hi = uint32_t{data[4]} | uint32_t{data[5]} << 8 | uint32_t{data[6]} << 16 |
                        uint32_t{data[7]} << 24;
    c = kTables[7][lo & 0xFF] ^ kTables[6][(lo >> 8) & 0xFF] ^ kTables[5][(lo >> 16) & 0xFF] ^
        kTables[4][lo >> 24] ^ kTables[3][hi & 0xFF] ^ kTables[2][(hi >> 8) & 0xFF] ^
        kTables[1][(hi >> 16) & 0xFF] ^ kTables[0][hi >> 24];
  }
  for (; n > 0; ++data, --n) c = (c >> 8) ^ kTables[0][(c ^ *data) & 0xFF];
  return ~c;
}
