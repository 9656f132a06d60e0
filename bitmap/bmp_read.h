// Reading BMP pictures: uncompressed 1-, 4-, 8-, 16-, 24- and 32-bit
// pictures, bottom-up or top-down, 4- and 8-bit ones also run-length
// encoded, 16- and 32-bit ones also with colour masks; the 12-byte OS/2
// header, the 40-byte one and the larger ones image editors write. A picture
// becomes one symbol (bitmap/symbol.h):
//   1 bit        b&w form; a set bit is the darker of the two table colours
//   4, 8         colour form, pixels are indices into the picture's colour table
//   16, 24, 32   colour form of 24 bits, pixels are red, green, blue
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "base/fileio.h"
#include "base/palette.h"
#include "bitmap/bmp_header.h"
#include "bitmap/row_convert.h"
#include "fonts/symfont.h"

// A picture file whose head has been read; its rows follow.
struct BmpPicture {
  FilePtr file;
  std::unique_ptr<ByteReader> in;
  BmpHeader header;
};

// Opens the picture at path and reads its head (have_table: as for
// bmp_read_header).
Status bmp_open(const char* path, bool have_table, BmpPicture& pic);

// Reads every row of pic, converted by conv into result (a symbol of the
// picture's size at conv's depth), or without keeping them when conv is
// none.
Status bmp_read_rows(BmpPicture& pic, RowConverter* conv, SYMBOL* result);

// Reads the picture at path as it is. On success stores the number of pixel
// bytes through size (where given) and, for 4- and 8-bit pictures, the
// colour table copy (16 or 256 entries) through palette; for other pictures
// the given palette is cleared. palette must be given for 4- and 8-bit
// pictures. On failure prints its message followed by " File \"path\"" and
// returns an empty symbol, leaving the outputs alone. A null path returns an
// empty symbol without a message.
SYMBOL bmp_read(const char* path, uint32_t* size, std::vector<RGBTRIPLET>* palette);
