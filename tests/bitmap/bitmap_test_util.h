// Helpers shared by the bitmap tests: pictures read from their bytes, with
// the console text tralk prints for them, and symbols built from or read
// into plain pixel lists.
#pragma once

#include <string>
#include <vector>

#include "base/console.h"
#include "bitmap/bmp_load.h"
#include "bitmap/symbol.h"
#include "driver/input_files.h"
#include "support/bmp_as_is.h"
#include "support/bmp_builder.h"
#include "support/symbol_pixels.h"

// The name the pictures of the tests go by in messages.
constexpr const char kPicture[] = "p.bmp";

// A picture read as it is, with tralk's words for a failure (bmp_read of
// old: the colour table, cleared for other depths, and the pixel bytes' count
// where given). Without a table 4- and 8-bit pictures are refused.
inline SYMBOL bmp_read(const std::vector<uint8_t>& bytes, uint32_t* size,
                       std::vector<RGBTRIPLET>* table) {
  Outcome<BmpAsIs> read = bmp_read_as_is(bytes);
  if (read.ok() && !table && !read->table.empty()) {
    con_printf("Error: Parameters, missing palette pointers File \"%s\"", kPicture);
    return {};
  }
  if (!read.ok()) {
    con_printf("%s", picture_failure_text(read.failure(), false, kPicture).c_str());
    return {};
  }
  if (size) *size = sym_databytes(read->sym);
  if (table) *table = std::move(read->table);
  return std::move(read->sym);
}

// A picture loaded as a font, with the console text tralk prints for it.
inline SymFontPtr bmp_load(const std::vector<uint8_t>& bytes, const RGBTRIPLET* palette,
                           uint32_t n) {
  MemorySource in(bytes);
  Outcome<PictureFont> loaded = bmp_load(in, palette, n);
  if (!loaded.ok()) {
    con_printf("%s", picture_failure_text(loaded.failure(), !palette && n >= 2, kPicture).c_str());
    return nullptr;
  }
  if (loaded->defaulted == 0u)
    con_printf("\n - All pixels converted sucessfully to default palette");
  else if (loaded->defaulted)
    con_printf("\n - %u pixels set to default during color conversion", *loaded->defaulted);
  return std::move(loaded->font);
}

// A symbol of the given shape whose pixels, row by row, are values.
inline SYMBOL make_symbol(uint16_t width, uint16_t height, uint16_t numbits,
                          const std::vector<uint32_t>& values) {
  SYMBOL sym = sym_blank(width, height, numbits);
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
