// The head of a BMP picture: file header, information header (the 12-byte
// OS/2 form, the 40-byte form and the larger ones image editors write),
// colour masks and colour table, read once and checked in a fixed order.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "base/outcome.h"
#include "base/palette.h"
#include "bitmap/bmp_layout.h"
#include "bitmap/byte_reader.h"

// The part of a picture that a failure of its reader is about (its
// FailurePlace's field), for the caller to word it.
enum class BmpField : uint8_t {
  headers,       // the file and information headers, and the masks after them
  signature,     // the "BM" that starts the file
  dimensions,    // the width and height, and the order of the rows
  layout,        // header size, depth, masks, run-length data, the colours pixels name
  compression,   // a compression that does not belong to the depth
  colour_table,  // the colour table
  pixels,        // the pixel rows, their transparency among them
  // The picture as a font (bitmap/bmp_load.h):
  palette,     // a picture that only a palette converts, and there is none
  conversion,  // the converted symbol: no memory for it, or a pixel beyond the colour table
  font,        // the font record
};

// A failure of the BMP reader.
inline Failure bmp_failure(Fault code, BmpField field) {
  Failure f{code, ""};
  f.at.field = static_cast<uint8_t>(field);
  return f;
}
inline BmpField bmp_field(const Failure& f) {
  return static_cast<BmpField>(f.at.field);
}

// How the pixel rows are stored.
enum class BmpPacking {
  plain,      // uncompressed rows, each padded to a multiple of 4 bytes
  rle,        // run-length encoded: RLE8 for 8 bits, RLE4 for 4 bits
  bitfields,  // uncompressed 16- or 32-bit pixels whose channels masks pick out
};

struct BmpHeader {
  uint16_t width = 0;
  uint16_t height = 0;
  bool top_down = false;  // rows stored top row first
  uint16_t bits = 0;      // bits per pixel in the file: 1, 4, 8, 16, 24 or 32
  BmpPacking packing = BmpPacking::plain;
  // Red, green, blue and alpha masks of 16- and 32-bit pixels.
  std::array<uint32_t, 4> masks{};
  // 2, 16 or 256 colours (zero where the file holds fewer) for 1, 4 and 8
  // bits per pixel; none for more.
  std::vector<RGBTRIPLET> table;
  // The colours the file holds: a pixel's index must be below it.
  uint32_t table_used = 0;
  // 1 bit per pixel: XOR-ed into every byte so that a set bit is the darker
  // of the two colours.
  uint8_t bw_mask = 0;

  // Depth of the rows the picture gives: 1, 4 or 8 (indices), or 24 (blue,
  // green, red; 16- and 32-bit pixels are widened to it).
  uint16_t depth() const { return bits > 8 ? 24 : bits; }
  // Bytes of one uncompressed row in the file, fill included.
  uint32_t file_stride() const { return bmp_layout::row_stride(width, bits); }
  // True when the file's colour table is shorter than its depth allows, so
  // that a pixel may name a colour it does not hold.
  bool short_table() const { return bits <= 8 && table_used < table.size(); }
};

// Reads everything in front of the pixel rows of a file of file_size bytes
// and checks it.
Status bmp_read_header(ByteReader& in, uint64_t file_size, BmpHeader& h);
