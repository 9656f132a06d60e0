// Where each glyph goes in its symbol. Every symbol has the same height and
// the baseline on the same row; widths follow the glyphs' advances (widened
// so that no ink is lost) or are one fixed width.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/outcome.h"
#include "import/fonts/font_options.h"
#include "import/fonts/glyph_ink.h"

namespace tralk::importer {

struct CellRules {
  CellHeight height = CellHeight::ink;
  std::optional<uint32_t> fixed_width;
  // The first font's ascent and descent: the cell of CellHeight::font, and
  // of a selection without any ink.
  int font_ascent = 0;
  int font_descent = 0;
};

// The symbol a glyph is drawn in: its width, and the column of the glyph's
// origin in it.
struct SymbolCell {
  uint32_t width = 0;
  int origin = 0;
};

struct CellLayout {
  uint32_t height = 0;
  int ascent = 0;                 // rows above the baseline
  std::vector<SymbolCell> cells;  // one per glyph
  std::vector<size_t> clipped;    // glyphs that lose ink outside their symbol
};

// The symbol of one glyph under the rules: as wide as its advance (widened
// to its ink) or the fixed width.
SymbolCell symbol_cell(const GlyphInk& g, const CellRules& rules);

// Lays out one symbol per glyph; a failure (Fault::too_large), with the
// reason, when a symbol would be more than 65535 pixels wide or high.
Outcome<CellLayout> lay_out_cells(const std::vector<GlyphInk>& glyphs, const CellRules& rules);

}  // namespace tralk::importer
