// Helpers shared by the bitmap tests: pictures written into a temporary
// directory, and symbols built from or read into plain pixel lists.
#pragma once

#include <string>
#include <vector>

#include "bitmap/symbol.h"
#include "support/bmp_builder.h"
#include "support/tempdir.h"

// Writes the BMP described by layout under name in dir and returns its path.
inline std::string write_bmp(const TempDir& dir, const std::string& name, const BmpLayout& layout) {
  return dir.write(name, bmp_build(layout));
}

// A symbol of the given shape whose pixels, row by row, are values.
inline SYMBOL make_symbol(uint16_t width, uint16_t height, uint16_t numbits,
                          const std::vector<uint32_t>& values) {
  SYMBOL sym = sym_create(width, height, numbits);
  for (uint16_t y = 0; y < height; ++y)
    for (uint16_t x = 0; x < width; ++x) sym_setpixel(sym, x, y, values.at(y * width + x));
  return sym;
}

// All pixels of sym, row by row.
inline std::vector<uint32_t> pixels_of(const SYMBOL& sym) {
  SYMSHAPE s;
  if (!sym_shape(sym, s)) return {};
  std::vector<uint32_t> out;
  for (uint16_t y = 0; y < s.height; ++y)
    for (uint16_t x = 0; x < s.width; ++x) out.push_back(sym_getpixel(sym, x, y));
  return out;
}

// The header values of sym (2 for the b&w form, 4 for the colour form).
inline std::vector<uint16_t> header_of(const SYMBOL& sym) {
  std::vector<uint16_t> out;
  if (sym.size() < 4) return out;
  const unsigned n = sym_header(sym.data(), 0) == 0 ? 4 : 2;
  for (unsigned i = 0; i < n && 2 * i + 1 < sym.size(); ++i)
    out.push_back(sym_header(sym.data(), i));
  return out;
}

// The pixel bytes of sym, header dropped.
inline std::vector<uint8_t> data_of(const SYMBOL& sym) {
  const unsigned h = sym.size() >= 2 && sym_header(sym.data(), 0) == 0 ? 8 : 4;
  if (sym.size() < h) return {};
  return {sym.begin() + h, sym.end()};
}
