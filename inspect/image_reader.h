// Reading a virtual font image back: the font blocks it holds, found by
// following the block sizes, and every way in which the bytes break the
// block layout that the generator writes.
//
// The parser works on a byte buffer and never reads outside it, whatever the
// bytes say, so that it can be run on arbitrary (fuzzed) input.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "output/image_layout.h"

namespace tralk::inspector {

// One font block as read from the image.
struct FontRecord {
  uint32_t index = 0;      // storage index of the block
  uint32_t blocksize = 0;  // as stored
  uint16_t flags = 0;
  uint8_t type = 0;
  uint8_t numbits = 0;  // 0 for b&w
  uint16_t symwidth = 0;
  uint16_t symheight = 0;
  uint16_t numsym = 0;
  uint32_t symbytes = 0;
  uint32_t cpindex = 0;
  uint32_t symindex = 0;

  bool has_codepage = false;  // the codepage section was read whole
  uint16_t numranges = 0;
  uint16_t defchar = 0;
  std::vector<std::array<uint16_t, 3>> ranges;

  // The symbols that lie wholly inside the block: their widths and their
  // pixel bytes, symbytes each, back to back. Each symbol's rows are as long
  // as its own width needs at the font's depth; the bytes after its rows
  // are padding.
  std::vector<uint16_t> widths;
  std::vector<uint8_t> pixels;
  // False when the symbols cannot be drawn as rows (zero height, unknown
  // depth).
  bool drawable = false;
};

// One thing wrong in the image, tied to the block where it was found.
struct Problem {
  uint32_t index = 0;  // storage index of the block (or where the walk was)
  std::string field;   // which part of the block, e.g. "block size"
  std::string text;
};

struct InspectResult {
  std::vector<FontRecord> fonts;
  std::vector<Problem> problems;
  uint64_t size = 0;   // bytes in the image
  uint64_t total = 0;  // sum of the block sizes of the blocks listed
};

// Parses and validates the image held in data[0..size).
InspectResult inspect_image(const uint8_t* data, size_t size);

// Bits per pixel of the stored symbols: 1 for b&w (numbits 0).
inline unsigned font_depth(const FontRecord& f) {
  return f.numbits == 0 ? 1u : f.numbits;
}

// Bytes of one row of symbol i: its own width at the font's depth.
uint32_t font_rowbytes(const FontRecord& f, size_t i);

// Rows of symbol i that lie inside its bytes: its height, or fewer when its
// rows need more bytes than the font's symbols have; 0 when the font cannot
// be drawn.
uint32_t font_drawn_rows(const FontRecord& f, size_t i);

// Pixel value at (x, y) of symbol i, for x below its width and y below
// font_drawn_rows.
uint32_t font_pixel(const FontRecord& f, size_t i, uint32_t x, uint32_t y);

}  // namespace tralk::inspector
