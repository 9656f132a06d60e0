#include "import/fonts/symbol_pack.h"

#include <algorithm>

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

// Writes one symbol into out (its byte count, zero-filled beforehand).
void pack_one(const GlyphInk& g, const SymbolCell& cell, const CellLayout& layout,
              const PixelForm& form, uint8_t* out) {
  const uint32_t stride = rowbytes(cell.width, form.bpp);
  for (uint32_t y = 0; y < layout.height; ++y) {
    uint8_t* row = out + size_t{y} * stride;
    const int64_t gy = int64_t{y} - layout.ascent - g.top;
    for (uint32_t x = 0; x < cell.width; ++x) {
      const int64_t gx = int64_t{x} - cell.origin - g.left;
      const bool inside = gx >= 0 && gy >= 0 && gx < g.width && gy < g.height;
      const uint32_t level =
          inside ? g.level(static_cast<uint32_t>(gx), static_cast<uint32_t>(gy)) : 0;
      sym_row_setpixel(row, x, form.bpp, stored_value(level, form));
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
