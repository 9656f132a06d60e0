#include "bitmap/bmp_read.h"

#include "bitmap/bmp_rows.h"
#include "bitmap/symbol.h"

Status bmp_open(ByteSource& source, BmpPicture& pic) {
  pic.in = std::make_unique<ByteReader>(source);
  return bmp_read_header(*pic.in, source.size(), pic.header);
}

Status bmp_read_rows(BmpPicture& pic, RowConverter* conv, SYMBOL* result) {
  SYMSHAPE shape;
  if (conv) sym_shape(*result, shape);
  BmpRows rows(*pic.in, pic.header);
  return rows.for_each([&](uint32_t y, const uint8_t* pixels) {
    if (conv) conv->convert(pixels, sym_row(*result, shape, y), shape.width);
  });
}
