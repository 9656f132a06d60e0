// Conversions of a colour symbol in memory, which tralk makes as it reads a
// picture (bitmap/bmp_load.h), here for the tests and the benchmarks: into
// the symbol that goes into a font, and into grey levels.
//
// sym_colorconv's mode follows from the palettes given: The mode follows from the palettes given:
//   source and target palette   palette mode: pixels become indices of the
//                               first exactly equal target colour (0 and
//                               counted as set to default when there is
//                               none), at 2, 4 or 8 bits, as small as the
//                               indices allow
//   source palette only         palette-to-direct mode: each pixel's table
//                               colour packed as a direct colour
//   neither                     direct mode: direct colours repacked
// convtype picks the direct-colour depth: 8 (3-3-2), 9 to 16 (5-6-5), above
// 16 (8-8-8); below 8 is refused. In palette mode it must be 0 to allow the
// second, narrowing pass.
#pragma once

#include <cstdint>

#include "base/palette.h"
#include "fonts/symfont.h"

// Returns the converted symbol (the source is left to the caller) or an
// empty symbol after printing a message where the failure has one. A palette
// mode call reports how many pixels were set to default.
SYMBOL sym_colorconv(const SYMBOL& source, const RGBTRIPLET* srcpalette, uint16_t srccount,
                     const RGBTRIPLET* dstpalette, uint16_t dstcount, uint8_t convtype);

// Converts source (pixels are indices into palette, count entries, for 2-,
// 4- and 8-bit symbols, or red, green, blue for 24-bit ones) into grey levels:
// the level count picks the depth, 0 or 2 a b&w symbol, 3-4 two bits, 5-16
// four bits, more eight bits; 1 is refused. Indices beyond the table take its
// last entry. The source is left to the caller. On failure prints a message
// and returns an empty symbol.
SYMBOL sym_greyconv(const SYMBOL& source, const RGBTRIPLET* palette, uint16_t count,
                    uint32_t levels);
