#include "import/fonts/cell_layout.h"

#include <algorithm>

namespace tralk::importer {

namespace {

constexpr int64_t kMaxSide = 0xFFFF;

int64_t floor_half(int64_t n) {
  return n >= 0 ? n / 2 : -((-n + 1) / 2);
}

struct Rows {
  int64_t top = 0;     // relative to the baseline, negative above it
  int64_t bottom = 0;  // past the last row
};

// The rows of the cell: the union of the glyphs' ink, or the font's ascent
// and descent (also for a selection that has no ink at all).
Rows cell_rows(const std::vector<GlyphInk>& glyphs, const CellRules& rules) {
  Rows rows{INT64_MAX, INT64_MIN};
  if (rules.height == CellHeight::ink)
    for (const GlyphInk& g : glyphs)
      if (g.has_ink()) {
        rows.top = std::min<int64_t>(rows.top, g.top);
        rows.bottom = std::max<int64_t>(rows.bottom, int64_t{g.top} + g.height);
      }
  if (rows.top == INT64_MAX) rows = {-int64_t{rules.font_ascent}, rules.font_descent};
  // A font whose ascent and descent are both 0 still gets one row.
  if (rows.bottom <= rows.top) rows.bottom = rows.top + 1;
  return rows;
}

// Width and origin at the glyph's advance, widened to its ink; a glyph that
// does not advance (a combining mark) is as wide as its ink.
SymbolCell advance_cell(const GlyphInk& g) {
  if (g.advance <= 0) {
    if (!g.has_ink()) return {1, 0};
    return {g.width, -g.left};
  }
  const int64_t left = g.has_ink() ? std::min(0, g.left) : 0;
  const int64_t right =
      g.has_ink() ? std::max<int64_t>(g.advance, int64_t{g.left} + g.width) : int64_t{g.advance};
  return {static_cast<uint32_t>(std::min(right - left, kMaxSide + 1)), static_cast<int>(-left)};
}

// The advance (or, for a glyph that does not advance, the ink) centred in
// a fixed width.
SymbolCell fixed_cell(const GlyphInk& g, uint32_t width) {
  if (g.advance > 0) return {width, static_cast<int>(floor_half(int64_t{width} - g.advance))};
  if (!g.has_ink()) return {width, 0};
  return {width, static_cast<int>(floor_half(int64_t{width} - g.width) - g.left)};
}

bool loses_ink(const GlyphInk& g, const SymbolCell& cell, const Rows& rows) {
  if (!g.has_ink()) return false;
  const int64_t x0 = int64_t{cell.origin} + g.left;
  return x0 < 0 || x0 + g.width > cell.width || g.top < rows.top ||
         int64_t{g.top} + g.height > rows.bottom;
}

}  // namespace

SymbolCell symbol_cell(const GlyphInk& g, const CellRules& rules) {
  return rules.fixed_width ? fixed_cell(g, *rules.fixed_width) : advance_cell(g);
}

Outcome<CellLayout> lay_out_cells(const std::vector<GlyphInk>& glyphs, const CellRules& rules) {
  const Rows rows = cell_rows(glyphs, rules);
  if (rows.bottom - rows.top > kMaxSide)
    return Failure{Fault::too_large, "the symbols would be " +
                                         std::to_string(rows.bottom - rows.top) +
                                         " pixels high, more than 65535"};
  CellLayout layout;
  layout.height = static_cast<uint32_t>(rows.bottom - rows.top);
  layout.ascent = static_cast<int>(-rows.top);
  layout.cells.reserve(glyphs.size());
  for (size_t i = 0; i < glyphs.size(); ++i) {
    const GlyphInk& g = glyphs[i];
    const SymbolCell cell = symbol_cell(g, rules);
    if (cell.width > kMaxSide)
      return Failure{Fault::too_large, "a symbol would be more than 65535 pixels wide"};
    if (loses_ink(g, cell, rows)) layout.clipped.push_back(i);
    layout.cells.push_back(cell);
  }
  return layout;
}

}  // namespace tralk::importer
