#include "import/pictures/error_diffusion.h"

#include <algorithm>

namespace tralk::importer {

ErrorDiffusion::ErrorDiffusion(uint32_t width, unsigned channels)
    : channels_(channels),
      here_((size_t{width} + 2) * channels, 0),
      below_((size_t{width} + 2) * channels, 0) {}

int ErrorDiffusion::value(uint32_t x, unsigned c, int t) const {
  return std::clamp(t + ((here_[at(x, c)] + 8) >> 4), 0, 255);
}

void ErrorDiffusion::spread(uint32_t x, unsigned c, int error) {
  here_[at(x + 1, c)] += 7 * error;
  below_[at(x, c) - channels_] += 3 * error;
  below_[at(x, c)] += 5 * error;
  below_[at(x + 1, c)] += error;
}

void ErrorDiffusion::next_row() {
  here_.swap(below_);
  std::fill(below_.begin(), below_.end(), 0);
}

}  // namespace tralk::importer
