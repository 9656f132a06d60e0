// Reading BMP pictures: uncompressed 1-, 4-, 8-, 16-, 24- and 32-bit
// pictures, bottom-up or top-down, 4- and 8-bit ones also run-length
// encoded, 16- and 32-bit ones also with colour masks; the 12-byte OS/2
// header, the 40-byte one and the larger ones image editors write. A picture
// becomes one symbol (bitmap/symbol.h):
//   1 bit        b&w form; a set bit is the darker of the two table colours
//   4, 8         colour form, pixels are indices into the picture's colour table
//   16, 24, 32   colour form of 24 bits, pixels are red, green, blue
// A failure says which part of the file it is about (bmp_field).
#pragma once

#include <cstdint>
#include <memory>

#include "base/byte_source.h"
#include "bitmap/bmp_header.h"
#include "bitmap/row_convert.h"
#include "fonts/symfont.h"

// A picture whose head has been read; its rows follow.
struct BmpPicture {
  std::unique_ptr<ByteReader> in;
  BmpHeader header;
};

// Reads the head of the picture that source holds, which must outlive pic.
Status bmp_open(ByteSource& source, BmpPicture& pic);

// Reads every row of pic, converted by conv into result (a symbol of the
// picture's size at conv's depth), or without keeping them when conv is
// none.
Status bmp_read_rows(BmpPicture& pic, RowConverter* conv, SYMBOL* result);
