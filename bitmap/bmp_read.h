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
#include <vector>

#include "base/byte_source.h"
#include "bitmap/bmp_header.h"
#include "bitmap/row_convert.h"
#include "fonts/symfont.h"

class RleRows;
class MaskedPixels;

// The pixel rows of a BMP picture whose head has been read, in the order the
// file stores them, each handed out as a symbol row of the picture's depth
// (bitmap/bmp_header.h): 1-bit rows with the darker colour set, 4- and 8-bit
// rows of colour-table indices, and rows of 24-bit pixels in the file's
// order, blue, green, red, for 16-, 24- and 32-bit pictures.

class BmpRows {
 public:
  BmpRows(ByteReader& in, const BmpHeader& h);
  ~BmpRows();

  // Calls row(y, pixels) for each row, y counted from the top.
  template <class Row>
  Status for_each(Row row) {
    for (uint32_t i = 0; i < h_.height; ++i) {
      const uint8_t* pixels = nullptr;
      if (Status err = next(pixels); !err.ok()) return err;
      row(h_.top_down ? i : h_.height - 1u - i, pixels);
    }
    return finish();
  }

  // For a reader that flattens transparency itself: from now on each row's
  // alpha is kept for alpha(), and a picture in which some pixel is not
  // fully opaque is no longer refused.
  void keep_alpha();
  // After keep_alpha, within for_each's call for a row: the alpha of its
  // pixels, 0 (transparent) to 255 (opaque), widened as the colours are; none
  // for a picture without an alpha mask.
  const uint8_t* alpha() const { return alpha_.empty() ? nullptr : alpha_.data(); }

 private:
  Status next(const uint8_t*& pixels);
  Status finish();

  ByteReader& in_;
  const BmpHeader& h_;
  std::vector<uint8_t> file_row_;
  std::vector<uint8_t> row_;    // the row as handed out, where it is not the file's own bytes
  std::vector<uint8_t> alpha_;  // after keep_alpha, for pictures with an alpha mask
  std::unique_ptr<RleRows> rle_;
  std::unique_ptr<MaskedPixels> masked_;
};

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
