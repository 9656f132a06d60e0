// Rows of colours written as indices of a given palette (tralk-import
// picture --palette): each pixel the nearest entry to its colour
// (NearestColour), or, with Floyd-Steinberg dithering, the nearest entry to
// its colour plus the error its neighbours left, the error of each of red,
// green and blue diffused on its own
// (import/pictures/error_diffusion.h): channel v = c + (e + 8) >> 4 clamped
// to 0..255, its error v less the entry's channel.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "base/palette.h"
#include "import/pictures/error_diffusion.h"

namespace tralk::importer {

// Colours matched to the nearest entry of a palette: the entry at the least
// squared distance
//   (r - R)^2 + (g - G)^2 + (b - B)^2,
// the lowest index of those equally near. A colour of the palette is
// therefore its own first entry, the one tralk's palette mode matches.
class NearestColour {
 public:
  // palette: 1 to 256 entries.
  explicit NearestColour(std::vector<RGBTRIPLET> palette);

  // The index of the entry nearest to the colour rgb (3 bytes).
  uint8_t operator()(const uint8_t* rgb);

 private:
  // The answers for recent colours: a picture has few colours, or many
  // alike, and searching the palette for each pixel would cost 256 steps.
  struct Slot {
    uint32_t colour = kNone;
    uint8_t index = 0;
  };
  static constexpr uint32_t kNone = 0xFFFFFFFF;
  static constexpr unsigned kCacheBits = 16;

  uint8_t search(uint32_t colour) const;

  std::vector<RGBTRIPLET> palette_;
  std::vector<Slot> cache_;
};

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
