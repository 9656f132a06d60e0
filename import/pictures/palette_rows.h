// Rows of colours written as indices of a given palette (tralk-import
// picture --palette): each pixel the nearest entry to its colour
// (import/pictures/nearest_colour.h), or, with Floyd-Steinberg dithering,
// the nearest entry to its colour plus the error its neighbours left, the
// error of each of red, green and blue diffused on its own
// (import/pictures/error_diffusion.h): channel v = c + (e + 8) >> 4 clamped
// to 0..255, its error v less the entry's channel.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "base/palette.h"
#include "import/pictures/error_diffusion.h"
#include "import/pictures/nearest_colour.h"

namespace tralk::importer {

class PaletteRows {
 public:
  // palette: 1 to 256 entries; rows of width pixels, top row first when
  // diffused.
  PaletteRows(const std::vector<RGBTRIPLET>& palette, bool diffused, uint32_t width);

  // indices gets the entry of each of the width pixels of rgb (3 bytes a
  // pixel).
  void row(const uint8_t* rgb, uint8_t* indices);

  // Pixels so far written in a colour other than their own.
  uint64_t moved() const { return moved_; }

 private:
  std::vector<RGBTRIPLET> palette_;
  NearestColour nearest_;
  std::optional<ErrorDiffusion> diffusion_;
  uint32_t width_;
  uint64_t moved_ = 0;
};

}  // namespace tralk::importer
