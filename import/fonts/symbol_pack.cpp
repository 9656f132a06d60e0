#include "import/fonts/symbol_pack.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "bitmap/symbol.h"

namespace tralk::importer {

namespace {

uint32_t rowbytes(uint32_t width, unsigned bpp) {
  return sym_rowbytes(static_cast<uint16_t>(width), static_cast<uint16_t>(bpp));
}

uint32_t largest_symbol(const CellLayout& layout, unsigned bpp) {
  uint32_t widest = 0;
  for (const SymbolCell& c : layout.cells) widest = std::max(widest, rowbytes(c.width, bpp));
  return widest * layout.height;
}

// The stored value of an ink level: b&w stores ink as a set bit; grey
// levels are lightness, so full ink is 0 (black) unless inverted.
uint32_t stored_value(uint32_t level, const PixelForm& form) {
  if (form.bpp == 1 || form.invert) return level;
  return ((1u << form.bpp) - 1) - level;
}

// Sets every pixel of a row width pixels wide to the blank of grey levels
// that are not inverted, the highest level, whose bits are all set; the
// bits after the last pixel stay clear.
void fill_blank_row(uint8_t* row, uint32_t width, unsigned bpp) {
  const uint64_t bits = uint64_t{width} * bpp;
  std::memset(row, 0xFF, static_cast<size_t>(bits / 8));
  if (bits % 8) row[bits / 8] = static_cast<uint8_t>(0xFF00u >> (bits % 8));
}

// Writes one symbol into out (its byte count, zero-filled beforehand).
void pack_one(const GlyphInk& g, const SymbolCell& cell, const CellLayout& layout,
              const PixelForm& form, uint8_t* out) {
  const uint32_t stride = rowbytes(cell.width, form.bpp);
  std::array<uint8_t, 256> stored{};
  for (uint32_t level = 0; level < (1u << form.bpp); ++level)
    stored[level] = static_cast<uint8_t>(stored_value(level, form));
  const bool blank_set = stored[0] != 0;
  // The columns of the symbol that the glyph's ink covers.
  const int64_t x0 = int64_t{cell.origin} + g.left;
  const auto column = [&](int64_t x) {
    return static_cast<uint32_t>(std::clamp<int64_t>(x, 0, cell.width));
  };
  const uint32_t from = column(x0), to = column(x0 + g.width);
  for (uint32_t y = 0; y < layout.height; ++y) {
    uint8_t* row = out + size_t{y} * stride;
    if (blank_set) fill_blank_row(row, cell.width, form.bpp);
    const int64_t gy = int64_t{y} - layout.ascent - g.top;
    if (gy < 0 || gy >= g.height) continue;
    const uint8_t* levels = g.levels.data() + static_cast<size_t>(gy) * g.width;
    for (uint32_t x = from; x < to; ++x) {
      const uint8_t level = levels[x - x0];
      if (level) sym_row_setpixel(row, x, form.bpp, stored[level]);
    }
  }
}

}  // namespace

uint64_t packed_size(const CellLayout& layout, unsigned bpp) {
  return uint64_t{largest_symbol(layout, bpp)} * layout.cells.size();
}

PackedSymbols pack_symbols(const std::vector<GlyphInk>& glyphs, const CellLayout& layout,
                           const PixelForm& form) {
  PackedSymbols out;
  out.bpp = form.bpp;
  out.height = layout.height;
  out.symbytes = largest_symbol(layout, form.bpp);
  out.bytes.assign(size_t{out.symbytes} * glyphs.size(), 0);
  out.widths.reserve(glyphs.size());
  for (size_t i = 0; i < glyphs.size(); ++i) {
    out.widths.push_back(layout.cells[i].width);
    pack_one(glyphs[i], layout.cells[i], layout, form, out.bytes.data() + i * out.symbytes);
  }
  return out;
}

}  // namespace tralk::importer
