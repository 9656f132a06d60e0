// Single symbols: creation, pixel packing and packed direct colours.
//
// A symbol is one block: its header (fonts/symfont.h) followed by the pixel
// bytes. Rows lie top row first, each exactly rowbytes long and starting on a
// byte boundary. Within a row, pixel x lies:
//   1 bit   byte x/8, bit 7 - x%8 (leftmost pixel in the top bit)
//   2 bits  byte x/4, first pixel in the top two bits
//   4 bits  byte x/2, even x in the high nibble
//   8 bits  byte x
//   16 bits bytes 2x, 2x+1, high byte first
//   24 bits bytes 3x..3x+2, high byte first (red, green, blue for a colour)
// An empty SYMBOL means "no symbol" throughout the bitmap code.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/outcome.h"
#include "base/palette.h"
#include "fonts/symfont.h"

// Geometry of a symbol, taken from its header.
struct SYMSHAPE {
  uint16_t width = 0;
  uint16_t height = 0;
  uint16_t numbits = 1;  // 1 for the b&w form
  unsigned headersize = kBwHeaderSize;
  uint32_t rowbytes = 0;
};

// Reads the header of sym. False when the depth is not a symbol depth or the
// block is too short for its header and pixel bytes.
bool sym_shape(const SYMBOL& sym, SYMSHAPE& shape);

// Start of row y of a symbol whose shape has been read.
inline const uint8_t* sym_row(const SYMBOL& sym, const SYMSHAPE& shape, uint32_t y) {
  return sym.data() + shape.headersize + std::size_t{y} * shape.rowbytes;
}
inline uint8_t* sym_row(SYMBOL& sym, const SYMSHAPE& shape, uint32_t y) {
  return sym.data() + shape.headersize + std::size_t{y} * shape.rowbytes;
}

// New zero-filled symbol: b&w form for numbits 1, else colour form. A
// failure, Fault::usage, for a zero size or an unknown depth; Fault::too_large
// for a block that cannot be had (including one whose pixel bytes would not
// fit 32 bits).
Outcome<SYMBOL> sym_create(uint16_t width, uint16_t height, uint16_t numbits);
// A zero-filled symbol of a valid shape with its header written, without
// checks or messages; throws std::bad_alloc when it cannot be had.
SYMBOL sym_blank(uint16_t width, uint16_t height, uint16_t numbits);

// Pixel bytes of sym (rowbytes x height), from its header; 0 for none, for
// an unknown depth and for a size beyond 32 bits.
uint32_t sym_databytes(const SYMBOL& sym);

// Row-level pixel access for the conversion loops, which walk whole rows and
// must not pay for a header lookup per pixel. row points at the row's first
// byte; numbits must be a symbol depth.
inline uint32_t sym_row_getpixel(const uint8_t* row, uint32_t x, unsigned numbits) {
  switch (numbits) {
    case 1:
      return (row[x >> 3] >> (7 - (x & 7))) & 1u;
    case 2:
      return (row[x >> 2] >> (6 - 2 * (x & 3))) & 3u;
    case 4:
      return (x & 1) ? row[x >> 1] & 0xFu : row[x >> 1] >> 4;
    case 8:
      return row[x];
    case 16:
      return (uint32_t{row[2 * x]} << 8) | row[2 * x + 1];
    case 24:
      return (uint32_t{row[3 * x]} << 16) | (uint32_t{row[3 * x + 1]} << 8) | row[3 * x + 2];
    default:
      return 0;
  }
}

inline void sym_row_setpixel(uint8_t* row, uint32_t x, unsigned numbits, uint32_t value) {
  switch (numbits) {
    case 1: {
      const unsigned shift = 7 - (x & 7);
      row[x >> 3] = static_cast<uint8_t>((row[x >> 3] & ~(1u << shift)) | ((value & 1u) << shift));
      break;
    }
    case 2: {
      const unsigned shift = 6 - 2 * (x & 3);
      row[x >> 2] = static_cast<uint8_t>((row[x >> 2] & ~(3u << shift)) | ((value & 3u) << shift));
      break;
    }
    case 4: {
      const unsigned shift = (x & 1) ? 0 : 4;
      row[x >> 1] =
          static_cast<uint8_t>((row[x >> 1] & ~(0xFu << shift)) | ((value & 0xFu) << shift));
      break;
    }
    case 8:
      row[x] = static_cast<uint8_t>(value);
      break;
    case 16:
      row[2 * x] = static_cast<uint8_t>(value >> 8);
      row[2 * x + 1] = static_cast<uint8_t>(value);
      break;
    case 24:
      row[3 * x] = static_cast<uint8_t>(value >> 16);
      row[3 * x + 1] = static_cast<uint8_t>(value >> 8);
      row[3 * x + 2] = static_cast<uint8_t>(value);
      break;
    default:
      break;
  }
}

// Packed direct colours, inline because the conversion loops call them for
// every pixel.
//
// Packs a colour with the colour format code 8 (3-3-2), 16 (5-6-5),
// 18 (6-6-6), 24 or 32 (8-8-8); 0 for a null colour or another code.
inline uint32_t rgb_pack(const RGBTRIPLET* rgb, uint8_t code) {
  if (!rgb) return 0;
  const uint32_t r = rgb->r, g = rgb->g, b = rgb->b;
  switch (code) {
    case 8:
      return (r & 0xE0) | ((g & 0xE0) >> 3) | (b >> 6);
    case 16:
      return ((r & 0xF8) << 8) | ((g & 0xFC) << 3) | (b >> 3);
    case 18:
      return ((r & 0xFC) << 10) | ((g & 0xFC) << 4) | (b >> 2);
    case 24:
    case 32:
      return (r << 16) | (g << 8) | b;
    default:
      return 0;
  }
}

// Widens a channel of width bits (1 to 8) to 8 bits by repeating its bits
// from the top of the byte down: a 5-bit 31 becomes 255, 16 becomes 132.
inline uint8_t rgb_widen(uint32_t value, unsigned width) {
  unsigned out = 0;
  for (unsigned filled = 0; filled < 8; filled += width)
    out |= filled + width <= 8 ? value << (8 - filled - width) : value >> (filled + width - 8);
  return static_cast<uint8_t>(out);
}

// Unpacks value into rgb (0, 0, 0 for an unknown code); nothing for null rgb.
inline void rgb_unpack(uint32_t value, RGBTRIPLET* rgb, uint8_t code) {
  if (!rgb) return;
  switch (code) {
    case 8:
      *rgb = {static_cast<uint8_t>(((value >> 5) & 7) * 36),
              static_cast<uint8_t>(((value >> 2) & 7) * 36),
              static_cast<uint8_t>((value & 3) * 80)};
      break;
    case 16:
      *rgb = {rgb_widen((value >> 11) & 0x1F, 5), rgb_widen((value >> 5) & 0x3F, 6),
              rgb_widen(value & 0x1F, 5)};
      break;
    case 18:
      *rgb = {rgb_widen((value >> 12) & 0x3F, 6), rgb_widen((value >> 6) & 0x3F, 6),
              rgb_widen(value & 0x3F, 6)};
      break;
    case 24:
    case 32:
      *rgb = {static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 8),
              static_cast<uint8_t>(value)};
      break;
    default:
      *rgb = {0, 0, 0};
      break;
  }
}
