// CRC-32 of bytes, as zlib's crc32() and the checksum of PNG, gzip and
// Ethernet compute it: the IEEE polynomial 0x04C11DB7 reflected (0xEDB88320),
// initial value and final XOR 0xFFFFFFFF. docs/formats.md gives the
// parameters and a short C function that a firmware can check an image with.
#pragma once

#include <cstddef>
#include <cstdint>

// The CRC-32 of data[0..n) continued from crc, the CRC-32 of the bytes
// before them (0 for none): crc32_update(crc32_update(0, a, n), b, m) is the
// CRC-32 of a followed by b.
uint32_t crc32_update(uint32_t crc, const uint8_t* data, size_t n);

inline uint32_t crc32_of(const uint8_t* data, size_t n) {
  return crc32_update(0, data, n);
}
