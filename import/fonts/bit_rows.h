// Rows of pixels packed as a symbol's rows are (bitmap/symbol.h): bpp bits
// a pixel from the most significant bit of a row's first byte on. A glyph's
// ink is kept so, and put into its symbol a word at a time, shifted to its
// column, rather than a pixel at a time.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace tralk::importer {

// Bytes that must follow the last byte that a word is read from or written
// to: words are 8 bytes, wherever in them the bits fall.
constexpr size_t kBitRowSlack = 8;

// The 8 bytes at p as a word, the first in the most significant bits: a
// load, and on a little-endian host a swap that compilers make one
// instruction.
inline uint64_t load_big_endian(const uint8_t* p) {
  uint64_t v;
  std::memcpy(&v, p, sizeof v);
  if constexpr (std::endian::native == std::endian::little) {
    v = (v & 0x00000000FFFFFFFFull) << 32 | (v & 0xFFFFFFFF00000000ull) >> 32;
    v = (v & 0x0000FFFF0000FFFFull) << 16 | (v & 0xFFFF0000FFFF0000ull) >> 16;
    v = (v & 0x00FF00FF00FF00FFull) << 8 | (v & 0xFF00FF00FF00FF00ull) >> 8;
  }
  return v;
}

inline void store_big_endian(uint8_t* p, uint64_t v) {
  if constexpr (std::endian::native == std::endian::little) {
    v = (v & 0x00000000FFFFFFFFull) << 32 | (v & 0xFFFFFFFF00000000ull) >> 32;
    v = (v & 0x0000FFFF0000FFFFull) << 16 | (v & 0xFFFF0000FFFF0000ull) >> 16;
    v = (v & 0x00FF00FF00FF00FFull) << 8 | (v & 0xFF00FF00FF00FF00ull) >> 8;
  }
  std::memcpy(p, &v, sizeof v);
}

// Puts count bits of src, starting src_bit bits into it, into dst, starting
// dst_bit bits into it: each byte of dst that the bits fall in becomes the
// byte of blank at the same place XORed with them. Words are written, and
// src and blank read, 8 bytes at a time: the bytes after the bits, up to
// kBitRowSlack of them, get blank's bytes too, and src and blank need that
// many bytes after the bits. Nothing of dst is read: a word read just
// after an overlapping one was written (the next row's, when rows are
// short) stalls the processor until the write is done.
inline void put_bits(uint8_t* dst, const uint8_t* blank, uint64_t dst_bit, const uint8_t* src,
                     uint64_t src_bit, uint64_t count) {
  // Bits moved at once: a word holds them after a shift of up to 7 bits
  // either way. A multiple of 8, so that both shifts stay the same.
  constexpr uint64_t kWordBits = 56;
  dst += dst_bit / 8;
  blank += dst_bit / 8;
  src += src_bit / 8;
  const unsigned to_shift = dst_bit % 8, from_shift = src_bit % 8;
  uint64_t written = 0;
  for (bool first = true; count > 0; first = false) {
    const uint64_t n = std::min(count, kWordBits);
    // The n bits at the top of the word, then moved to their place in dst.
    const uint64_t bits =
        (load_big_endian(src) << from_shift & ~uint64_t{0} << (64 - n)) >> to_shift;
    uint64_t under = load_big_endian(blank);
    // A word after the first starts at the last byte of the one before,
    // which holds bits of both.
    if (!first) under = (under & ~uint64_t{0} >> 8) | written << 56;
    written = under ^ bits;
    store_big_endian(dst, written);
    dst += n / 8;
    blank += n / 8;
    src += n / 8;
    count -= n;
  }
}

}  // namespace tralk::importer
