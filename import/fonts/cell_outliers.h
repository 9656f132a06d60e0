// The few glyphs that make every symbol of a font larger than the rest
// need: a symbol's rows are the union of all glyphs' ink, and its bytes
// those of the widest, so two tall marks can double a font. The report
// names them, with the way out.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "import/fonts/cell_layout.h"
#include "import/fonts/glyph_ink.h"

namespace tralk::importer {

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
