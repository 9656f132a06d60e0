// Reader of BMP pictures: uncompressed, bottom-up, 1, 4, 8 or 24 bits per
// pixel. The picture becomes one symbol (bitmap/symbol.h):
//   1 bit   b&w form; a set bit is the darker of the two table colours
//   4, 8    colour form, pixels are indices into the picture's colour table
//   24      colour form, pixels are red, green, blue bytes
#pragma once

#include <cstdint>
#include <vector>

#include "fonts/pal_load.h"
#include "fonts/symfont.h"

// Reads the picture at path. On success stores the number of pixel bytes
// through size (where given) and, for 4- and 8-bit pictures, the colour table
// copy (16 or 256 entries) through palette; for 1- and 24-bit pictures the
// given palette is cleared. palette must be given for 4- and 8-bit pictures.
// On failure prints its message followed by " File \"path\"" and returns an
// empty symbol, leaving the outputs alone. A null path returns an empty
// symbol without a message.
SYMBOL bmp_read(const char* path, uint32_t* size, std::vector<RGBTRIPLET>* palette);
