#include "bitmap/palette_mode.h"

#include <algorithm>

#include "bitmap/bmp_header.h"

namespace {

uint16_t index_depth(uint32_t largest) {
  if (largest < 4) return 2;
  return largest < 16 ? 4 : 8;
}

// Each source entry's first equal target entry; only exact equality counts.
std::vector<uint16_t> match(const RGBTRIPLET* src, uint16_t srccount, const RGBTRIPLET* dst,
                            uint16_t dstcount, uint16_t no_match) {
  std::vector<uint16_t> map(256, no_match);
  const RGBTRIPLET* end = dst + dstcount;
  for (unsigned i = 0; i < std::min<unsigned>(srccount, 256); ++i) {
    const RGBTRIPLET* hit = std::find(dst, end, src[i]);
    if (hit != end) map[i] = static_cast<uint16_t>(hit - dst);
  }
  return map;
}

// The depth follows from every entry found, whether or not pixels use it.
uint16_t depth_of(const std::vector<uint16_t>& map, uint16_t no_match) {
  uint32_t largest = 0;
  for (uint16_t to : map) {
    if (to != no_match) largest = std::max<uint32_t>(largest, to);
  }
  return index_depth(largest);
}

LookupRows::Table table_of(const std::vector<uint16_t>& map, uint16_t no_match) {
  LookupRows::Table t{};
  for (size_t i = 0; i < t.size(); ++i) t[i] = map[i] == no_match ? 0 : map[i];
  return t;
}

}  // namespace

PaletteMatch::PaletteMatch(const RGBTRIPLET* src, uint16_t srccount, const RGBTRIPLET* dst,
                           uint16_t dstcount, uint16_t in_bits)
    : dst_(dst),
      srccount_(srccount),
      dstcount_(dstcount),
      map_(match(src, srccount, dst, dstcount, kNoMatch)),
      rows_(in_bits, depth_of(map_, kNoMatch), table_of(map_, kNoMatch)) {}

PaletteMatch::Pass PaletteMatch::pass() const {
  Pass p;
  p.valid = rows_.beyond() == 0;
  const auto& counts = rows_.counts();
  for (size_t v = 0; v < counts.size(); ++v) {
    if (counts[v] == 0) continue;
    if (v >= srccount_) p.valid = false;
    if (map_[v] == kNoMatch)
      p.defaults += static_cast<uint32_t>(counts[v]);
    else
      p.largest = std::max<uint32_t>(p.largest, map_[v]);
  }
  return p;
}

Status PaletteMatch::finish(SYMBOL& result, bool narrowing) {
  const Pass first = pass();
  if (!first.valid) return bmp_failure(Fault::format, BmpField::conversion);
  defaults_ += first.defaults;
  const uint16_t depth = rows_.out_bits();
  const bool fits_fewer = (first.largest < 4 && depth > 2) || (first.largest < 16 && depth > 4);
  if (narrowing && defaults_ == 0 && fits_fewer) return narrow(result);
  return {};
}

// The first pass's pixels are target indices: matched against the
// palette's own head, the depth follows the indices the pixels use.
Status PaletteMatch::narrow(SYMBOL& result) {
  const uint16_t depth = rows_.out_bits();
  const uint16_t keep = std::min<uint16_t>(dstcount_, depth == 4 ? 4 : 16);
  PaletteMatch second(dst_, dstcount_, dst_, keep, depth);
  SYMSHAPE shape;
  sym_shape(result, shape);
  Outcome<SYMBOL> narrowed = convert_symbol(result, shape, second.rows());
  if (!narrowed.ok()) return bmp_failure(narrowed.code(), BmpField::conversion);
  const Pass p = second.pass();
  if (!p.valid) return bmp_failure(Fault::format, BmpField::conversion);
  defaults_ += p.defaults;
  result = std::move(narrowed.value());
  return {};
}
