// Glyphs as symbol pixel bytes: each symbol's rows exactly as long as its
// own width needs at the font's depth, top row first, leftmost pixel in the
// most significant bits; then zero bytes up to the font's byte count (that
// of its largest symbol), which every symbol of a font carries.
#pragma once

#include <cstdint>
#include <vector>

#include "import/fonts/cell_layout.h"
#include "import/fonts/glyph_ink.h"

namespace tralk::importer {

struct PixelForm {
  unsigned bpp = 1;     // 1: b&w, a set bit is ink; 2, 4, 8: grey levels
  bool invert = false;  // grey levels with light ink on black
};

struct PackedSymbols {
  unsigned bpp = 1;
  uint32_t height = 0;
  uint32_t symbytes = 0;  // pixel bytes of every symbol
  std::vector<uint32_t> widths;
  std::vector<uint8_t> bytes;  // symbytes per symbol, back to back

  const uint8_t* symbol(size_t i) const { return bytes.data() + i * size_t{symbytes}; }
};

// Bytes that symbols would take: the number of symbols times the largest
// symbol's bytes, to be checked before they are packed.
uint64_t packed_size(const CellLayout& layout, unsigned bpp);

// Packs every glyph in its cell.
PackedSymbols pack_symbols(const std::vector<GlyphInk>& glyphs, const CellLayout& layout,
                           const PixelForm& form);

}  // namespace tralk::importer
