// Single pixels of a symbol, for the tests and the fuzzers: tralk itself
// walks whole rows (bitmap/row_convert.h).
#pragma once

#include <cstdint>

#include "bitmap/symbol.h"

// Pixel value at (x, y); 0 outside the symbol, or for a block that is no
// symbol.
inline uint32_t sym_getpixel(const SYMBOL& sym, uint16_t x, uint16_t y) {
  SYMSHAPE s;
  if (!sym_shape(sym, s) || x >= s.width || y >= s.height) return 0;
  return sym_row_getpixel(sym_row(sym, s, y), x, s.numbits);
}

// Stores the low numbits bits of value at (x, y); nothing outside the symbol.
inline void sym_setpixel(SYMBOL& sym, uint16_t x, uint16_t y, uint32_t value) {
  SYMSHAPE s;
  if (!sym_shape(sym, s) || x >= s.width || y >= s.height) return;
  sym_row_setpixel(sym_row(sym, s, y), x, s.numbits, value);
}
