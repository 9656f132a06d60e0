// Glyphs as symbol pixel bytes: each symbol's rows exactly as long as its
// own width needs at the font's depth, top row first, leftmost pixel in the
// most significant bits; then zero bytes up to the font's byte count (that
// of its largest symbol), which every symbol of a font carries.
#pragma once

#include <cstdint>
#include <map>
#include <span>
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

// Packs glyphs into their symbols, one at a time.
class SymbolPacker {
 public:
  SymbolPacker(const CellLayout& layout, const PixelForm& form);
  // The symbol of a glyph, whose ink levels are in the block levels, in its
  // cell of the layout: symbol_bytes bytes, kept until the next call.
  std::span<const uint8_t> pack(const GlyphInk& g, const std::vector<uint8_t>& levels,
                                const SymbolCell& cell);

 private:
  const uint8_t* blank(uint32_t width);

  const CellLayout& layout_;
  PixelForm form_;
  uint32_t bytes_;
  std::vector<uint8_t> symbol_;
  // Blank symbols, each followed by kBitRowSlack zero bytes: by width for
  // grey levels that are not inverted, whose blank has bits set; one of
  // zeros for the others, under width 0.
  std::map<uint32_t, std::vector<uint8_t>> blanks_;
};

}  // namespace tralk::importer
