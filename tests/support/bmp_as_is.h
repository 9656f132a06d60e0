// A BMP picture read as it is, through tralk's reader: the tests', the
// fuzzers' and the benchmarks' view of what a file holds, beside what tralk
// makes of it (bitmap/bmp_load.h).
#pragma once

#include <new>
#include <span>
#include <vector>

#include "base/byte_source.h"
#include "bitmap/bmp_read.h"
#include "bitmap/symbol.h"

struct BmpAsIs {
  SYMBOL sym;  // the picture's depth; 24-bit pixels red, green, blue
  // The colour table of 4- and 8-bit pictures (16 or 256 entries).
  std::vector<RGBTRIPLET> table;
};

// A failure is the reader's (bitmap/bmp_header.h).
inline Outcome<BmpAsIs> bmp_read_as_is(std::span<const uint8_t> bytes) {
  MemorySource in(bytes);
  BmpPicture pic;
  if (Status err = bmp_open(in, pic); !err.ok()) return err.failure();
  const BmpHeader& h = pic.header;
  BmpAsIs read;
  try {
    read.sym = sym_blank(h.width, h.height, h.depth());
  } catch (const std::bad_alloc&) {
    return bmp_failure(Fault::too_large, BmpField::pixels);
  }
  // Symbols hold 24-bit pixels as red, green, blue.
  RepackRows as_is(h.depth(), h.depth(), Order::bgr);
  if (Status err = bmp_read_rows(pic, &as_is, &read.sym); !err.ok()) return err.failure();
  if (h.bits == 4 || h.bits == 8) read.table = std::move(pic.header.table);
  return read;
}
