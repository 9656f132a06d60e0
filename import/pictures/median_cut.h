// Colours reduced to a palette of at most n entries by median cut
// (Heckbert, "Color image quantization for frame buffer display", 1982),
// over the exact colours of the pictures, each weighted by its pixel count:
//   1. All colours start in one box.
//   2. While there are fewer than n boxes: take the box whose widest
//      channel (largest maximum minus minimum of red, green or blue over its
//      colours) is widest of all boxes of two colours or more (the first such
//      box on a tie; red before green before blue); stop when there is none.
//      Order its colours by that channel (then by 0xRRGGBB) and cut it before
//      the first colour at which the pixels so far reach half of the box's
//      pixels, so that each part keeps at least one colour.
//   3. Each box gives one entry: the mean of its colours weighted by their
//      pixel counts, each channel rounded to the nearest (halves up).
// The entries come in ascending order of 0xRRGGBB, each once.
#pragma once

#include <cstdint>
#include <vector>

#include "base/palette.h"

namespace tralk::importer {

struct WeightedColour {
  uint32_t value = 0;  // 0xRRGGBB
  uint64_t pixels = 0;
};

// The palette of at most n (1 or more) entries for colours (each value
// once), as above.
std::vector<RGBTRIPLET> median_cut(std::vector<WeightedColour> colours, unsigned n);

}  // namespace tralk::importer
