// Conversion of a picture's colour symbol into grey levels, 0 being black.
// The grey value of a colour is (76 R + 150 G + 30 B) / 256; a result of b
// bits per pixel keeps its top b bits. The level count picks the depth:
// 0 or 2 give a b&w symbol, 3-4 two bits, 5-16 four bits, more eight bits;
// 1 is refused.
#pragma once

#include <cstdint>

#include "base/palette.h"
#include "bitmap/row_convert.h"
#include "fonts/symfont.h"

// The level (depth bits) of each index of a colour table of count entries
// (count at least 1); indices beyond the table take its last entry.
LookupRows::Table grey_table(const RGBTRIPLET* palette, uint16_t count, uint16_t depth);

// Converts source (pixels are indices into palette, count entries, for 2-,
// 4- and 8-bit symbols, or red, green, blue for 24-bit ones). Indices beyond
// the table take its last entry. The source is left to the caller. On failure
// prints a message and returns an empty symbol.
SYMBOL sym_greyconv(const SYMBOL& source, const RGBTRIPLET* palette, uint16_t count,
                    uint32_t levels);
