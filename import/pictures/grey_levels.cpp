#include "import/pictures/grey_levels.h"

#include <algorithm>

namespace tralk::importer {

namespace {

constexpr uint8_t kBayer[4][4] = {
    {0, 8, 2, 10},
    {12, 4, 14, 6},
    {3, 11, 1, 9},
    {15, 7, 13, 5},
};

unsigned tone(unsigned l, const GreyReduction& how) {
  const unsigned n = how.levels == 2 ? how.threshold : 128;
  unsigned t = l;
  if (n != 128) t = l < n ? l * 128 / n : 128 + (l - n) * 127 / (255 - n);
  return how.invert ? 255 - t : t;
}

}  // namespace

GreyLevels::GreyLevels(const GreyReduction& how, uint32_t width)
    : levels_(how.levels), dither_(how.dither), width_(width) {
  for (unsigned l = 0; l < 256; ++l) tone_[l] = static_cast<uint8_t>(tone(l, how));
  if (dither_ == Dither::floyd_steinberg) {
    here_.assign(size_t{width} + 2, 0);
    below_.assign(size_t{width} + 2, 0);
  }
}

void GreyLevels::row(const uint8_t* rgb, uint32_t y, uint8_t* levels) {
  const unsigned top = levels_ - 1;
  for (uint32_t x = 0; x < width_; ++x, rgb += 3) {
    const int t = tone_[grey_value(rgb[0], rgb[1], rgb[2])];
    unsigned k = 0;
    if (dither_ == Dither::none) {
      k = nearest(t);
    } else if (dither_ == Dither::ordered) {
      const unsigned m = kBayer[y % 4][x % 4];
      k = (32 * static_cast<unsigned>(t) * top + 255 * (2 * m + 1)) / 8160;
    } else {
      const int v = std::clamp(t + ((here_[x + 1] + 8) >> 4), 0, 255);
      k = nearest(v);
      const int error = v - level_grey(k, levels_);
      here_[x + 2] += 7 * error;
      below_[x] += 3 * error;
      below_[x + 1] += 5 * error;
      below_[x + 2] += error;
    }
    levels[x] = static_cast<uint8_t>(k);
  }
  if (dither_ == Dither::floyd_steinberg) {
    here_.swap(below_);
    std::fill(below_.begin(), below_.end(), 0);
  }
}

}  // namespace tralk::importer
