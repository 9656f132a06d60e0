#include "import/fonts/symbol_pack.h"

#include <algorithm>
#include <cstring>

#include "fonts/symfont.h"
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

SymbolPacker::SymbolPacker(const CellLayout& layout, const PixelForm& form)
    : layout_(layout),
      form_(form),
      bytes_(symbol_bytes(layout, form.bpp)),
      // The ink is put in place a word at a time: room after the last byte.
      symbol_(bytes_ + kBitRowSlack) {}

// The blank symbol of a width. The blanks of a few widths are kept: the ink
// is put onto them without reading the symbol being made.
const uint8_t* SymbolPacker::blank(uint32_t width) {
  constexpr size_t kMostKept = size_t{1} << 20;
  const uint32_t key = blank_is_set(form_) ? width : 0;
  if (const auto found = blanks_.find(key); found != blanks_.end()) return found->second.data();
  if ((blanks_.size() + 1) * (size_t{bytes_} + kBitRowSlack) > kMostKept) blanks_.clear();
  std::vector<uint8_t> blank(size_t{bytes_} + kBitRowSlack, 0);
  if (key != 0)
    fill_blank_rows(blank.data(), layout_.height, rowbytes(width, form_.bpp), width, form_.bpp);
  return blanks_.emplace(key, std::move(blank)).first->second.data();
}

// The glyph's rows of levels, already at the symbol's depth, put onto the
// blank at the glyph's column.
std::span<const uint8_t> SymbolPacker::pack(const GlyphInk& g, const std::vector<uint8_t>& levels,
                                            const SymbolCell& cell) {
  const unsigned bpp = form_.bpp;
  const uint32_t stride = rowbytes(cell.width, bpp);
  const uint8_t* const under = blank(cell.width);
  uint8_t* const out = symbol_.data();
  std::memcpy(out, under, bytes_);
  const std::span<const uint8_t> symbol(out, bytes_);
  // The columns of the symbol that the glyph's ink covers.
  const int64_t x0 = int64_t{cell.origin} + g.left;
  const auto column = [&](int64_t x) {
    return static_cast<uint32_t>(std::clamp<int64_t>(x, 0, cell.width));
  };
  const uint32_t from = column(x0), to = column(x0 + g.width);
  if (from >= to) return symbol;
  // And its rows.
  const int64_t top = int64_t{layout_.ascent} + g.top;
  const int64_t y0 = std::max<int64_t>(top, 0);
  const int64_t y1 = std::min<int64_t>(top + g.height, layout_.height);
  if (y0 >= y1) return symbol;
  // Everything the rows share in locals: stores through out could change
  // anything else, as far as the compiler knows.
  const uint64_t skipped_bits = g.first_bit + (from - x0) * bpp;
  const uint64_t at_bit = uint64_t{from} * bpp, bits = uint64_t{to - from} * bpp;
  const size_t ink_stride = g.stride;
  const uint8_t* ink = g.row(levels, static_cast<uint32_t>(y0 - top));
  for (size_t at = static_cast<size_t>(y0) * stride, end = static_cast<size_t>(y1) * stride;
       at < end; at += stride, ink += ink_stride)
    put_bits(out + at, under + at, at_bit, ink, skipped_bits, bits);
  return symbol;
}

}  // namespace tralk::importer
