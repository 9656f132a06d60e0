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
#include "base/rgb_picture.h"

namespace tralk::importer {

struct ColourTable {
  std::vector<RGBTRIPLET> entries;  // empty when the picture has more colours than fit, or none
  uint32_t colours = 0;             // how many colours the picture has, either way
};

// The table of pic at bits (1, 4 or 8).
ColourTable colour_table(const RgbPicture& pic, unsigned bits, RGBTRIPLET background);

// A colour as the number 0xRRGGBB.
inline uint32_t colour_value(RGBTRIPLET c) {
  return uint32_t{c.r} << 16 | uint32_t{c.g} << 8 | c.b;
}

}  // namespace tralk::importer
