// The pictures "tralk-import" reads, PNG or BMP, told apart by their first
// bytes whatever the file's name says, and read row by row, as often as the
// import needs: once to learn its colours, once more to write them. No
// reader holds the whole picture; a row is handed out as soon as it is
// whole, as opaque red, green and blue bytes (transparency flattened onto
// the request's background, import/pictures/flatten.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

#include "base/byte_source.h"
#include "base/outcome.h"
#include "import/pictures/picture_request.h"

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

// The largest pictures that tralk reads: 65535 pixels each way (its symbol
// header's fields), and 21845 wide at 24 bits (a 24-bit symbol row's byte
// count is a 16-bit field). The importer itself takes at most kMaxPixels
// pixels: a picture is read and written row by row, so this bounds the time
// and the output a small file claiming a vast picture can cost, not memory.
constexpr uint32_t kMaxPictureSide = 65535;
constexpr uint32_t kMaxWidth24 = 21845;
constexpr uint64_t kMaxPixels = uint64_t{1} << 26;  // 8192 x 8192

// Refuses a picture of width x height pixels that cannot be written at
// req's depth for tralk: a failure (Fault::too_large) that names req's
// picture and says why.
Status check_picture_size(const PictureRequest& req, uint32_t width, uint32_t height);

// Refuses a picture of more than kMaxPixels pixels, likewise.
Status check_pixel_count(const PictureRequest& req, uint32_t width, uint32_t height);

// Opens the picture req names, to be read row by row, flattened onto req's
// background. A failure, with a one-line message, when it cannot be opened
// or its head read (or it is neither PNG nor BMP, or a PNG whose signature
// a transfer as text damaged), or it is too large for tralk at req's depth
// or for the importer.
Outcome<std::unique_ptr<PictureSource>> open_picture(const PictureRequest& req);
// The same from the picture's bytes in (read as the file req names).
Outcome<std::unique_ptr<PictureSource>> open_picture(const PictureRequest& req,
                                                     std::unique_ptr<ByteSource> in);

// The whole picture in, read through open_picture: for pictures
// known to be small (the tests' and the fuzz harness's).
Outcome<LoadedPicture> read_picture(const PictureRequest& req, std::unique_ptr<ByteSource> in);

}  // namespace tralk::importer
