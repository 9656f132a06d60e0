// Run-length encoded pixel rows (RLE8 for 8-bit pictures, RLE4 for 4-bit
// ones), unpacked one row at a time, bottom row first as they are stored.
#pragma once

#include <cstdint>
#include <vector>

#include "base/outcome.h"
#include "bitmap/byte_reader.h"

class RleRows {
 public:
  RleRows(ByteReader& in, uint16_t width, uint16_t height, uint16_t bits);

  // Unpacks the next row into row (packed as a symbol row of the picture's
  // depth, all of it written; pixels the data never sets are 0).
  Status next(uint8_t* row);
  // After the last row: the data must go on to its end-of-picture mark.
  Status finish();

 private:
  Status decode_row();
  bool put(unsigned value);
  bool absolute(unsigned count);

  ByteReader& in_;
  uint16_t width_;
  uint16_t height_;
  uint16_t bits_;
  uint32_t limit_;                // pixels a run may fill: the row up to its 4-byte boundary
  std::vector<uint8_t> pending_;  // the row being decoded, whole bytes of pixels
  uint32_t row_ = 0;              // the row the data stands in, from the bottom
  uint32_t x_ = 0;                // the pixel it stands at
  uint32_t given_ = 0;            // rows handed out
  bool ended_ = false;            // the end-of-picture mark has been read
};
