// How the inspector reads a stored pixel value. The image does not record
// whether 2-, 4- and 8-bit pixels are grey levels, palette indices or packed
// colours, so the depth, the kind of block and the user's options decide,
// block by block:
//   numbits 0 or 1       b&w: a set bit is ink (black)
//   numbits 2 or 4       grey levels, 0 being black; a picture's are palette
//                        indices with --pal
//   numbits 8            3-3-2 colour; grey levels with --grey; a picture's are
//                        palette indices with --pal
//   numbits 16           5-6-5 colour
//   numbits 24           8-8-8 colour (red, green, blue bytes)
// A picture is a block of one symbol without a codepage, as tralk makes of a
// .bmp entry: palette mode gives only pictures palette indices, so a palette
// never recolours a font's grey levels.
#pragma once

#include <cstdint>
#include <vector>

#include "base/palette.h"
#include "inspect/image_reader.h"

namespace tralk::inspector {

enum class PixelReading { bw, grey, palette, rgb332, rgb565, rgb888, none };

struct ReadingOptions {
  bool grey = false;                                 // --grey: 8-bit pixels are grey levels
  const std::vector<RGBTRIPLET>* palette = nullptr;  // --pal: pictures' indices into it
};

// True for a block that tralk makes of a picture: one symbol, no codepage.
bool block_is_picture(const FontRecord& font);

// The reading of a block's pixels; none for a depth that is not a pixel
// depth.
PixelReading choose_reading(const FontRecord& font, const ReadingOptions& opts);

// Words for the reading, as the inspector prints them ("grey levels", ...).
const char* reading_name(PixelReading reading);

// True for readings that have colours (shown as colour blocks in a terminal).
inline bool reading_is_colour(PixelReading r) {
  return r == PixelReading::palette || r == PixelReading::rgb332 || r == PixelReading::rgb565 ||
         r == PixelReading::rgb888;
}

// Colour of a pixel value. Grey levels spread over 0 to 255; palette indices
// beyond the palette are black.
RGBTRIPLET pixel_rgb(uint32_t value, unsigned depth, PixelReading reading,
                     const ReadingOptions& opts);

// Lightness of a b&w or grey pixel as a fraction of white: 0 is ink (black),
// max is white. Returned as (level, max).
struct GreyLevel {
  uint32_t level;
  uint32_t max;
};
GreyLevel pixel_grey(uint32_t value, unsigned depth, PixelReading reading);

}  // namespace tralk::inspector
