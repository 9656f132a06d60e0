#include "import/fonts/symbol_pack.h"

#include <algorithm>
#include <cstring>

#include "bitmap/symbol.h"
#include "import/fonts/bit_rows.h"

namespace tralk::importer {

namespace {

uint32_t rowbytes(uint32_t width, unsigned bpp) {
  return sym_rowbytes(static_cast<uint16_t>(width), static_cast<uint16_t>(bpp));
}

// Grey levels are lightness, so that full ink is 0 (black) unless inverted,
// and blank pixels have every bit set: the stored value of a level is the
// level XORed onto the blank. b&w stores ink as a set bit on a clear blank.
bool blank_is_set(const PixelForm& form) {
  return form.bpp != 1 && !form.invert;
}

// Sets every pixel of rows of width pixels, stride bytes each, to the blank
// of grey levels that are not inverted, the highest level, whose bits are
// all set; the bits after each row's last pixel stay clear. One fill, then
// the last byte of each row where it is not whole.
void fill_blank_rows(uint8_t* rows, uint32_t height, uint32_t stride, uint32_t width,
                     unsigned bpp) {
  std::memset(rows, 0xFF, size_t{stride} * height);
  const unsigned tail = static_cast<unsigned>(uint64_t{width} * bpp % 8);
  if (tail == 0) return;
  const auto last = static_cast<uint8_t>(0xFF00u >> tail);
  for (uint32_t y = 0; y < height; ++y) rows[size_t{y} * stride + stride - 1] = last;
}

}  // namespace

uint32_t symbol_bytes(const CellLayout& layout, unsigned bpp) {
  uint32_t widest = 0;
  for (const SymbolCell& c : layout.cells) widest = std::max(widest, rowbytes(c.width, bpp));
  return widest * layout.height;
}

uint64_t packed_size(const CellLayout& layout, unsigned bpp) {
  return uint64_t{symbol_bytes(layout, bpp)} * layout.cells.size();
}

// The glyph's rows of levels, already at the symbol's depth, XORed onto the
// blank rows at the glyph's column.
void pack_symbol(const GlyphInk& g, const std::vector<uint8_t>& levels, const SymbolCell& cell,
                 const CellLayout& layout, const PixelForm& form, uint8_t* out) {
  const uint32_t stride = rowbytes(cell.width, form.bpp);
  if (blank_is_set(form)) fill_blank_rows(out, layout.height, stride, cell.width, form.bpp);
  // The columns of the symbol that the glyph's ink covers.
  const int64_t x0 = int64_t{cell.origin} + g.left;
  const auto column = [&](int64_t x) {
    return static_cast<uint32_t>(std::clamp<int64_t>(x, 0, cell.width));
  };
  const uint32_t from = column(x0), to = column(x0 + g.width);
  if (from >= to) return;
  // And its rows.
  const int64_t top = int64_t{layout.ascent} + g.top;
  const int64_t y0 = std::max<int64_t>(top, 0);
  const int64_t y1 = std::min<int64_t>(top + g.height, layout.height);
  if (y0 >= y1) return;
  // Everything the rows share in locals: stores through out could change
  // anything else, as far as the compiler knows.
  const uint64_t skipped_bits = g.first_bit + (from - x0) * form.bpp;
  const uint64_t at_bit = uint64_t{from} * form.bpp, bits = uint64_t{to - from} * form.bpp;
  const size_t ink_stride = g.stride;
  const uint8_t* ink = g.row(levels, static_cast<uint32_t>(y0 - top));
  uint8_t* row = out + static_cast<size_t>(y0) * stride;
  for (int64_t y = y0; y < y1; ++y, ink += ink_stride, row += stride)
    xor_bits(row, at_bit, ink, skipped_bits, bits);
}

}  // namespace tralk::importer
