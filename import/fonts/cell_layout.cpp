#include "import/fonts/cell_layout.h"

#include <algorithm>

#include "fonts/symfont.h"

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

namespace {

uint64_t symbol_bytes(uint32_t width, uint32_t rows, unsigned bpp) {
  return uint64_t{sym_rowbytes(static_cast<uint16_t>(width), static_cast<uint16_t>(bpp))} * rows;
}

// The glyph indexes below count that take accepts, ordered by key, the first
// kMaxOutliers + 1 of them: one more than can be left out, so that the first
// one kept is among them. Kept in order as they are found, rather than
// sorting every index of a large font.
template <typename Take, typename Key>
std::vector<size_t> extremes(size_t count, Take take, Key key) {
  const auto before = [&](size_t a, size_t b) {
    return key(a) < key(b) || (key(a) == key(b) && a < b);
  };
  std::vector<size_t> out;
  out.reserve(kMaxOutliers + 2);
  for (size_t i = 0; i < count; ++i) {
    if (!take(i) || (out.size() > kMaxOutliers && !before(i, out.back()))) continue;
    out.insert(std::upper_bound(out.begin(), out.end(), i, before), i);
    if (out.size() > kMaxOutliers + 1) out.pop_back();
  }
  return out;
}

struct Search {
  const std::vector<GlyphInk>& glyphs;
  const CellLayout& layout;
  const CellRules& rules;
  unsigned bpp;
  std::vector<size_t> top, bottom, wide;  // highest ink, lowest ink, widest symbols
};

bool left_out(const std::vector<size_t>& removed, size_t i) {
  return std::find(removed.begin(), removed.end(), i) != removed.end();
}

size_t first_kept(const std::vector<size_t>& order, const std::vector<size_t>& removed) {
  for (const size_t i : order)
    if (!left_out(removed, i)) return i;
  return SIZE_MAX;
}

// The rows and widest symbol of the glyphs not removed.
void measure_rest(const Search& s, const std::vector<size_t>& removed, Outliers& o) {
  o.rest_rows = s.layout.height;
  if (s.rules.height == CellHeight::ink) {
    const size_t t = first_kept(s.top, removed), b = first_kept(s.bottom, removed);
    if (t == SIZE_MAX || b == SIZE_MAX)
      o.rest_rows = static_cast<uint32_t>(std::max(1, s.rules.font_ascent + s.rules.font_descent));
    else
      o.rest_rows =
          static_cast<uint32_t>(int64_t{s.glyphs[b].top} + s.glyphs[b].height - s.glyphs[t].top);
  }
  const size_t w = first_kept(s.wide, removed);
  o.rest_width = w == SIZE_MAX ? 1 : s.layout.cells[w].width;
  o.rest_bytes = symbol_bytes(o.rest_width, o.rest_rows, s.bpp);
}

void take_first(const std::vector<size_t>& order, size_t n, std::vector<size_t>& into) {
  for (size_t k = 0; k < n && k < order.size(); ++k)
    if (!left_out(into, order[k])) into.push_back(order[k]);
}

}  // namespace

std::optional<Outliers> find_outliers(const std::vector<GlyphInk>& glyphs, const CellLayout& layout,
                                      const CellRules& rules, unsigned bpp) {
  const size_t most = std::min(kMaxOutliers, glyphs.size() / 10);
  if (most == 0) return std::nullopt;
  const auto inked = [&](size_t i) { return glyphs[i].has_ink(); };
  const auto any = [](size_t) { return true; };
  Search s{glyphs, layout, rules, bpp, {}, {}, {}};
  s.top = extremes(glyphs.size(), inked, [&](size_t i) { return int64_t{glyphs[i].top}; });
  s.bottom = extremes(glyphs.size(), inked,
                      [&](size_t i) { return -(int64_t{glyphs[i].top} + glyphs[i].height); });
  if (!rules.fixed_width)
    s.wide =
        extremes(glyphs.size(), any, [&](size_t i) { return -int64_t{layout.cells[i].width}; });
  Outliers best;
  best.rows = layout.height;
  best.width = s.wide.empty() ? *rules.fixed_width : layout.cells[s.wide.front()].width;
  best.bytes = symbol_bytes(best.width, best.rows, bpp);
  measure_rest(s, {}, best);
  const size_t tall = rules.height == CellHeight::ink ? most : 0;
  for (size_t a = 0; a <= tall; ++a)
    for (size_t b = 0; a + b <= tall; ++b)
      for (size_t c = 0; a + b + c <= most && (c == 0 || !s.wide.empty()); ++c) {
        std::vector<size_t> removed;
        take_first(s.top, a, removed);
        take_first(s.bottom, b, removed);
        take_first(s.wide, c, removed);
        if (removed.size() > most) continue;
        Outliers o = best;
        o.glyphs = removed;
        measure_rest(s, removed, o);
        if (o.rest_bytes < best.rest_bytes ||
            (o.rest_bytes == best.rest_bytes && o.glyphs.size() < best.glyphs.size()))
          best = o;
      }
  if (best.glyphs.empty() || best.rest_bytes * 4 > best.bytes * 3) return std::nullopt;
  std::sort(best.glyphs.begin(), best.glyphs.end());
  return best;
}

}  // namespace tralk::importer
