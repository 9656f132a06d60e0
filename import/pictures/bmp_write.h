// Pictures written as the plainest BMP, the form every reader takes: a
// 14-byte file header, the 40-byte information header, the colour table
// (blue, green, red, 0 per entry; as many entries as the picture has
// colours, which the colours-used field says), then the rows bottom row
// first, uncompressed, each padded with zero bytes to a multiple of 4.
// 72 dpi (2835 pixels per metre) both ways.
//
// The rows may be handed over in any order: each is written at its place in
// the file, so that a picture read top row first is never held whole.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/outfile.h"
#include "base/palette.h"

namespace tralk::importer {

class BmpWriter {
 public:
  // Writes the headers and colour table of a width x height picture of bits
  // per pixel (1, 4, 8 with table; 24 without) to out; put every row after.
  BmpWriter(OutFile& out, uint32_t width, uint32_t height, unsigned bits,
            const std::vector<RGBTRIPLET>& table);

  // Row y (counted from the top): red, green, blue bytes at 24 bits, else
  // one colour-table index a byte.
  void put_row(uint32_t y, const uint8_t* pixels);

 private:
  OutFile& out_;
  uint32_t width_;
  uint32_t height_;
  unsigned bits_;
  uint32_t stride_;
  uint64_t pixels_at_;
  uint64_t next_at_;  // where the file's next write goes
  std::string row_;
};

}  // namespace tralk::importer
