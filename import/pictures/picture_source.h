// A picture file read row by row, as often as the import needs: once to
// learn its colours, once more to write them. No reader holds the whole
// picture; a row is handed out as soon as it is whole, as opaque red, green
// and blue bytes (transparency flattened onto the request's background,
// import/pictures/flatten.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "base/outcome.h"

namespace tralk::importer {

// Receives row y (counted from the top): width pixels, 3 bytes each.
using RowSink = std::function<void(uint32_t y, const uint8_t* rgb)>;

// The order in which a whole reading of the file hands out its rows.
enum class RowOrder {
  top_down,   // top row first: a PNG picture, a BMP stored top row first
  bottom_up,  // bottom row first: the usual BMP picture
  banded,     // only after the whole file is read (an interlaced PNG): rows
              // are kept until then, as many as the caller asks for at once
};

class PictureSource {
 public:
  virtual ~PictureSource() = default;

  virtual uint32_t width() const = 0;
  virtual uint32_t height() const = 0;
  virtual RowOrder order() const = 0;
  // What the reader itself keeps for each row of a band (banded order).
  virtual size_t band_bytes_per_row() const { return 0; }
  // Reads the file from its start to its end and hands each of the rows
  // first to first + count - 1 to sink; the others are decoded and dropped.
  // A failure, with a one-line message naming the file, when the file
  // cannot be read (it may have changed since an earlier reading).
  virtual Status read_rows(uint32_t first, uint32_t count, const RowSink& sink) = 0;
  // Some pixel read so far was not fully opaque.
  virtual bool flattened() const = 0;
};

// How many bytes of rows a reading keeps at most, beyond one row, when the
// rows must be gathered into bands.
constexpr size_t kBandBytes = size_t{8} << 20;

// Hands every row of source to sink: from the top down when top_down is
// set, otherwise in whatever order costs least. Where the file's order is
// another, the rows are read in bands of at most kBandBytes, the file read
// once per band.
Status for_each_row(PictureSource& source, bool top_down, const RowSink& sink);

}  // namespace tralk::importer
