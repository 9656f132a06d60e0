// The colour table of a picture written at 1, 4 or 8 bits per pixel, in an
// order fixed by the colours alone:
//   4, 8 bits  the picture's colours in ascending order of their value
//              0xRRGGBB;
//   1 bit      the lighter colour first, the darker second, so that a set
//              bit in the file is the darker colour, the ink tralk makes of a
//              b&w picture. Brightness is r*r + g*g + b*b, as tralk judges
//              it; of two equally bright colours the lower value is ink. A
//              picture of one colour gets the background as its other one:
//              it is ink where it is darker than the background, and a
//              picture of the background colour alone (its table holds that
//              colour twice) has none.
#pragma once

#include <cstdint>
#include <vector>

#include "base/palette.h"

namespace tralk::importer {

struct ColourTable {
  std::vector<RGBTRIPLET> entries;  // empty when the picture has more colours than fit, or none
  uint32_t colours = 0;             // how many colours the picture has, either way
};

// The distinct colours of a picture, counted row by row exactly: one bit per
// possible colour (2 MiB).
class ColourCounter {
 public:
  ColourCounter() : seen_(size_t{1} << 18) {}
  // Counts the colours of a row of width pixels, 3 bytes each.
  void add_row(const uint8_t* rgb, uint32_t width);
  uint32_t count() const { return count_; }
  // The picture's table at bits (1, 4 or 8).
  ColourTable table(unsigned bits, RGBTRIPLET background) const;

 private:
  std::vector<uint64_t> seen_;
  uint32_t count_ = 0;
};

// A colour as the number 0xRRGGBB.
inline uint32_t colour_value(RGBTRIPLET c) {
  return uint32_t{c.r} << 16 | uint32_t{c.g} << 8 | c.b;
}

}  // namespace tralk::importer
