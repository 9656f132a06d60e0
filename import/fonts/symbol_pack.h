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

// Pixel bytes of every symbol of the layout: those of its largest symbol.
uint32_t symbol_bytes(const CellLayout& layout, unsigned bpp);

// Bytes that symbols would take: the number of symbols times the largest
// symbol's bytes, to be checked before they are packed.
uint64_t packed_size(const CellLayout& layout, unsigned bpp);

// Packs a glyph, whose ink levels are in the block levels, into its cell of
// the layout: symbol_bytes bytes at out, cleared beforehand and followed by
// kBitRowSlack bytes (bit_rows.h).
void pack_symbol(const GlyphInk& g, const std::vector<uint8_t>& levels, const SymbolCell& cell,
                 const CellLayout& layout, const PixelForm& form, uint8_t* out);

}  // namespace tralk::importer
