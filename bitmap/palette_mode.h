// Palette mode: the colour-table indices of a picture become indices of the
// first exactly equal colour of a target palette (0, counted as set to
// default, where there is none), at 2, 4 or 8 bits, as few as the indices
// need. Used for pictures as they are read and for symbols in memory.
#pragma once

#include <cstdint>
#include <vector>

#include "base/outcome.h"
#include "bitmap/row_convert.h"

class PaletteMatch {
 public:
  // src: the picture's colour table (srccount entries); dst: the target
  // palette (dstcount entries); in_bits: depth of the picture's indices.
  PaletteMatch(const RGBTRIPLET* src, uint16_t srccount, const RGBTRIPLET* dst, uint16_t dstcount,
               uint16_t in_bits);

  // Converts rows of indices; the depth of the result is its out_bits().
  LookupRows& rows() { return rows_; }

  // Once every row has gone through rows(): a failure (BmpField::conversion)
  // when a pixel's index lies beyond the colour table. Otherwise, when
  // narrowing is allowed, no pixel was set to default and the indices
  // written fit fewer bits, converts result once more against the head of
  // the palette (sym_create's failure, as BmpField::conversion, when that
  // fails).
  Status finish(SYMBOL& result, bool narrowing);
  // After finish: how many pixels had a colour the palette lacks, and were
  // set to index 0.
  uint32_t defaulted() const { return defaults_; }

 private:
  // The target index of each source index, or kNoMatch.
  static constexpr uint16_t kNoMatch = 0xFFFF;

  // What the rows converted so far held.
  struct Pass {
    bool valid = true;      // every index within the colour table
    uint32_t defaults = 0;  // pixels set to default
    uint32_t largest = 0;   // the largest index written
  };
  Pass pass() const;
  Status narrow(SYMBOL& result);

  const RGBTRIPLET* dst_;
  uint16_t srccount_;
  uint16_t dstcount_;
  std::vector<uint16_t> map_;
  LookupRows rows_;
  uint32_t defaults_ = 0;  // over both passes
};
