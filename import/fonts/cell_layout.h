// Where each glyph goes in its symbol. Every symbol has the same height and
// the baseline on the same row; widths follow the glyphs' advances (widened
// so that no ink is lost) or are one fixed width.
//
// The few glyphs that make every symbol of a font larger than the rest need
// are found here too: a symbol's rows are the union of all glyphs' ink, and
// its bytes those of the widest, so two tall marks can double a font. The
// report names them, with the way out.
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

// At most this many glyphs are named.
constexpr size_t kMaxOutliers = 8;

struct Outliers {
  std::vector<size_t> glyphs;  // ascending indexes
  uint32_t rows = 0, rest_rows = 0;
  uint32_t width = 0, rest_width = 0;  // of the widest symbol
  uint64_t bytes = 0, rest_bytes = 0;  // of every symbol
};

// The set of at most kMaxOutliers glyphs, and at most one in ten, without
// which every symbol would take the fewest bytes; none unless those are at
// most three quarters of what every symbol takes with them.
std::optional<Outliers> find_outliers(const std::vector<GlyphInk>& glyphs, const CellLayout& layout,
                                      const CellRules& rules, unsigned bpp);

}  // namespace tralk::importer
