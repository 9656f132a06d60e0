#include "bitmap/symbol.h"

#include <cstdint>
#include <limits>
#include <new>

namespace {

// Header-only reading, also used where the pixel bytes need not be present.
bool read_header(const SYMBOL& sym, SYMSHAPE& s) {
  if (sym.size() < kBwHeaderSize) return false;
  const uint8_t* h = sym.data();
  if (sym_header(h, 0) != 0) {
    s = {sym_header(h, 0), sym_header(h, 1), 1, kBwHeaderSize, 0};
  } else {
    if (sym.size() < kColourHeaderSize) return false;
    s = {sym_header(h, 2), sym_header(h, 3), sym_header(h, 1), kColourHeaderSize, 0};
  }
  s.rowbytes = sym_rowbytes(s.width, s.numbits);
  return true;
}

uint64_t pixel_bytes(const SYMSHAPE& s) {
  return uint64_t{s.rowbytes} * s.height;
}

}  // namespace

bool sym_shape(const SYMBOL& sym, SYMSHAPE& shape) {
  return read_header(sym, shape) && sym_valid_depth(shape.numbits) &&
         sym.size() >= shape.headersize + pixel_bytes(shape);
}

SYMBOL sym_blank(uint16_t width, uint16_t height, uint16_t numbits) {
  const unsigned headersize = numbits == 1 ? kBwHeaderSize : kColourHeaderSize;
  SYMBOL sym(headersize + std::size_t{sym_rowbytes(width, numbits)} * height, 0);
  if (numbits == 1) {
    sym_set_header(sym.data(), 0, width);
    sym_set_header(sym.data(), 1, height);
  } else {
    sym_set_header(sym.data(), 1, numbits);
    sym_set_header(sym.data(), 2, width);
    sym_set_header(sym.data(), 3, height);
  }
  return sym;
}

Outcome<SYMBOL> sym_create(uint16_t width, uint16_t height, uint16_t numbits) {
  if (width == 0 || height == 0 || !sym_valid_depth(numbits)) return Failure{Fault::usage, ""};
  try {
    // A symbol's byte count travels as a 32-bit number everywhere after this.
    if (uint64_t{sym_rowbytes(width, numbits)} * height > std::numeric_limits<uint32_t>::max())
      throw std::bad_alloc();
    return sym_blank(width, height, numbits);
  } catch (const std::bad_alloc&) {
    return Failure{Fault::too_large, ""};
  }
}

uint32_t sym_databytes(const SYMBOL& sym) {
  SYMSHAPE s;
  if (!read_header(sym, s)) return 0;
  const uint64_t n = pixel_bytes(s);
  return n > std::numeric_limits<uint32_t>::max() ? 0 : static_cast<uint32_t>(n);
}
