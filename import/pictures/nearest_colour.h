// Colours matched to the nearest entry of a palette, for pictures written in
// a palette given to them (tralk-import picture --palette): the nearest
// entry is the one at the least squared distance
//   (r - R)^2 + (g - G)^2 + (b - B)^2,
// the lowest index of those equally near. A colour of the palette is
// therefore its own first entry, the one tralk's palette mode matches.
#pragma once

#include <cstdint>
#include <vector>

#include "base/palette.h"

namespace tralk::importer {

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

}  // namespace tralk::importer
