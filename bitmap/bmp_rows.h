// The pixel rows of a BMP picture whose head has been read, in the order the
// file stores them, each handed out as a symbol row of the picture's depth
// (bitmap/bmp_header.h): 1-bit rows with the darker colour set, 4- and 8-bit
// rows of colour-table indices, and rows of 24-bit pixels in the file's
// order, blue, green, red, for 16-, 24- and 32-bit pictures.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "bitmap/bmp_header.h"
#include "bitmap/bmp_masks.h"
#include "bitmap/bmp_rle.h"
#include "fonts/symfont.h"

class BmpRows {
 public:
  BmpRows(ByteReader& in, const BmpHeader& h);

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
