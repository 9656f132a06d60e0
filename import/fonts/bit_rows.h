// Rows of pixels packed as a symbol's rows are (bitmap/symbol.h): bpp bits
// a pixel from the most significant bit of a row's first byte on. A glyph's
// ink is kept so, and put into its symbol a word at a time, shifted to its
// column, rather than a pixel at a time.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tralk::importer {

// Bytes that must be readable after the last bit xor_bits takes from a
// source: it reads the source 8 bytes at a time.
constexpr size_t kBitRowSlack = 8;

// XORs count bits of src, starting src_bit bits into it, onto dst, starting
// dst_bit bits into it. Only the bytes of dst that the bits fall in are
// touched.
void xor_bits(uint8_t* dst, uint64_t dst_bit, const uint8_t* src, uint64_t src_bit, uint64_t count);

}  // namespace tralk::importer
