// Grey levels, 0 being black, of a picture's colour table. The grey value
// of a colour is (76 R + 150 G + 30 B) / 256; a level of b bits keeps its
// top b bits.
#pragma once

#include <cstdint>

#include "base/palette.h"
#include "bitmap/row_convert.h"
#include "fonts/symfont.h"

// The level (depth bits) of each index of a colour table of count entries
// (count at least 1); indices beyond the table take its last entry.
LookupRows::Table grey_table(const RGBTRIPLET* palette, uint16_t count, uint16_t depth);
