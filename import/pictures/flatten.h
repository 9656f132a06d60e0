// Transparency flattened onto a background colour, and 16-bit channels
// narrowed to 8 bits, each with a single rounding to the nearest value:
//
//   out = round((c * a + bg * s * (max - a)) / (max * s))
//
// where c and a are the channel and its alpha as stored, max is their
// largest value (255 for 8-bit channels, 65535 for 16-bit ones), s = max / 255
// (1 or 257) and bg the background's 8-bit channel. The divisor is odd, so
// there is never a tie to break. An opaque pixel (a = max) keeps its 8-bit
// channel, and a 16-bit one becomes round(c / 257); a transparent one
// (a = 0) becomes the background.
#pragma once

#include <cstdint>

#include "base/palette.h"

namespace tralk::importer {

// One channel of one pixel, as above.
uint8_t flatten_channel(uint32_t c, uint32_t a, uint8_t bg, uint32_t max);

// Flattens width pixels of red, green, blue and alpha (8 bits each, or 16
// bits each, high byte first, as PNG stores them) onto bg into rgb (3 bytes
// a pixel). Returns whether any pixel was not fully opaque.
bool flatten_rgba_row(const uint8_t* rgba, unsigned bits, uint32_t width, RGBTRIPLET bg,
                      uint8_t* rgb);

}  // namespace tralk::importer
