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

// Sets every pixel of a row width pixels wide to the blank of grey levels
// that are not inverted, the highest level, whose bits are all set; the
// bits after the last pixel stay clear.
void fill_blank_row(uint8_t* row, uint32_t width, unsigned bpp) {
  const uint64_t bits = uint64_t{width} * bpp;
  std::memset(row, 0xFF, static_cast<size_t>(bits / 8));
  if (bits % 8) row[bits / 8] = static_cast<uint8_t>(0xFF00u >> (bits % 8));
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
  if (blank_is_set(form))
    for (uint32_t y = 0; y < layout.height; ++y)
      fill_blank_row(out + size_t{y} * stride, cell.width, form.bpp);
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
  const uint64_t skipped_bits = g.first_bit + (from - x0) * form.bpp;
  for (int64_t y = y0; y < y1; ++y)
    xor_bits(out + static_cast<size_t>(y) * stride, uint64_t{from} * form.bpp,
             g.row(levels, static_cast<uint32_t>(y - top)), skipped_bits,
             uint64_t{to - from} * form.bpp);
}

}  // namespace tralk::importer
