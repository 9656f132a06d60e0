// SYMFONT: one font in memory, read from a .sym file or made from a picture.
//
// Symbol data: numsym symbols back to back, each a symbol header followed by
// exactly symbytes pixel bytes. The header is a run of 16-bit values, stored
// little-endian:
//   b&w form    (4 bytes): width (non-zero), height         -- 1 bit per pixel
//   colour form (8 bytes): 0, numbits, width, height        -- numbits per pixel
// The first value tells the forms apart; the first symbol's form is the form
// of the whole font.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "base/coding.h"
#include "base/cptable.h"
#include "base/page_alloc.h"

// Symbol data: headers and pixel bytes. Pictures and big fonts make large
// blocks, which come from the host's pages.
using SymbolBytes = std::vector<uint8_t, PageAllocator<uint8_t>>;

// One symbol as a block: symbol header followed by its pixel bytes.
using SYMBOL = SymbolBytes;

struct SYMFONT {
  uint16_t symwidth = 0;              // rounded average width; non-zero once loaded
  uint16_t symheight = 0;             // height of every symbol
  uint32_t symbytes = 0;              // pixel bytes of one symbol, header not counted
  SymbolBytes symdata;                // the symbols; empty means no symbol data
  uint16_t numsym = 0;                // 1 to 65535 in a loaded font
  std::unique_ptr<CPTABLE> codepage;  // or none
};
using SymFontPtr = std::unique_ptr<SYMFONT>;

constexpr unsigned kBwHeaderSize = 4;
constexpr unsigned kColourHeaderSize = 8;

// Value i (from 0) of the symbol header that starts at sym.
inline uint16_t sym_header(const uint8_t* sym, unsigned i) {
  return get_u16le(sym + 2 * i);
}
inline void sym_set_header(uint8_t* sym, unsigned i, uint16_t v) {
  put_u16le(sym + 2 * i, v);
}

// True when the font's first symbol has the colour form (first value 0).
inline bool sym_is_colour(const SYMFONT& f) {
  return f.symdata.size() >= 2 && sym_header(f.symdata.data(), 0) == 0;
}
inline unsigned sym_header_size(const SYMFONT& f) {
  return sym_is_colour(f) ? kColourHeaderSize : kBwHeaderSize;
}
// Bits per pixel of a colour font; 0 for a b&w font or one without symbols.
inline uint16_t sym_numbits(const SYMFONT& f) {
  return sym_is_colour(f) && f.symdata.size() >= 4 ? sym_header(f.symdata.data(), 1) : 0;
}

// True for the depths a symbol can have: 1, 2, 4, 8, 16, 24.
constexpr bool sym_valid_depth(uint16_t numbits) {
  return numbits == 1 || numbits == 2 || numbits == 4 || numbits == 8 || numbits == 16 ||
         numbits == 24;
}

// Bytes in one pixel row of width pixels of the given depth (1 for the b&w
// form): rows start on a byte boundary, the leftmost pixel in the top bits.
// 0 for another depth. Kept 32 bits wide so that wide 16- and 24-bit rows are
// never cut short.
constexpr uint32_t sym_rowbytes(uint16_t width, uint16_t numbits) {
  return sym_valid_depth(numbits) ? (uint32_t{width} * numbits + 7) / 8 : 0;
}

// Releases a font with everything it owns; none is accepted. The record
// owns its symbol data and codepage: letting it go releases all.
inline void sym_free(SymFontPtr font) {
  font.reset();
}
