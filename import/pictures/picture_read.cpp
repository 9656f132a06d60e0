#include "import/pictures/picture_read.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "base/fileio.h"
#include "base/text.h"
#include "import/pictures/bmp_picture.h"
#include "import/pictures/png_picture.h"

namespace tralk::importer {

Status for_each_row(PictureSource& source, bool top_down, const RowSink& sink) {
  const RowOrder order = source.order();
  const uint32_t height = source.height();
  if (order == RowOrder::top_down || (order == RowOrder::bottom_up && !top_down))
    return source.read_rows(0, height, sink);
  const size_t row_bytes = size_t{source.width()} * 3;
  const size_t per_row = row_bytes + source.band_bytes_per_row();
  const auto band_rows = static_cast<uint32_t>(std::clamp<size_t>(
      kBandBytes / std::max<size_t>(per_row, 1), 1, std::max<uint32_t>(height, 1)));
  std::vector<uint8_t> band(band_rows * row_bytes);
  for (uint32_t first = 0; first < height; first += band_rows) {
    const uint32_t count = std::min(band_rows, height - first);
    const Status read = source.read_rows(first, count, [&](uint32_t y, const uint8_t* rgb) {
      std::memcpy(band.data() + (y - first) * row_bytes, rgb, row_bytes);
    });
    if (!read.ok()) return read;
    for (uint32_t i = 0; i < count; ++i) sink(first + i, band.data() + i * row_bytes);
  }
  return {};
}

Status check_picture_size(const PictureRequest& req, uint32_t width, uint32_t height) {
  const std::string size = in_quotes(req.path) + " is " + std::to_string(width) + " x " +
                           std::to_string(height) + " pixels";
  if (width > kMaxPictureSide || height > kMaxPictureSide)
    return Failure{Fault::too_large, size + ", larger than the 65535 x 65535 that tralk reads"};
  if (req.depth == 24 && width > kMaxWidth24)
    return Failure{Fault::too_large, size +
                                         ", wider than the 21845 pixels that tralk reads at 24 " +
                                         "bits (--depth 8 or less takes up to 65535)"};
  return {};
}

Status check_pixel_count(const PictureRequest& req, uint32_t width, uint32_t height) {
  if (uint64_t{width} * height <= kMaxPixels) return {};
  return Failure{Fault::too_large, in_quotes(req.path) + " is " + std::to_string(width) + " x " +
                                       std::to_string(height) + " pixels, more than the " +
                                       std::to_string(kMaxPixels) +
                                       " (8192 x 8192) that tralk-import takes"};
}

namespace {

Failure cannot_read(const PictureRequest& req, Fault code) {
  return Failure{code, "cannot read " + in_quotes(req.path) + ": " + errno_text()};
}

}  // namespace

Outcome<std::unique_ptr<PictureSource>> open_picture(const PictureRequest& req) {
  Outcome<FileSource> file = FileSource::open(req.path);
  if (!file.ok())
    return Failure{file.code(), "cannot read " + in_quotes(req.path) + ": " + file.error()};
  return open_picture(req, std::make_unique<FileSource>(std::move(file.value())));
}

Outcome<std::unique_ptr<PictureSource>> open_picture(const PictureRequest& req,
                                                     std::unique_ptr<ByteSource> in) {
  uint8_t head[10];
  errno = 0;
  const size_t n = in->read(head, sizeof head);
  if (in->failed()) return cannot_read(req, Fault::io);
  if (is_png_signature(head, n)) return open_png_picture(req, std::move(in));
  if (n >= 2 && head[0] == 'B' && head[1] == 'M') return open_bmp_picture(req, std::move(in));
  if (is_text_mangled_png_signature(head, n))
    return Failure{Fault::format, in_quotes(req.path) +
                                      " is a PNG picture damaged by a transfer as text (its line "
                                      "ends were converted): copy it again as binary"};
  return Failure{Fault::unsupported, in_quotes(req.path) + " is neither a PNG nor a BMP picture"};
}

Outcome<LoadedPicture> read_picture(const PictureRequest& req, std::unique_ptr<ByteSource> in) {
  Outcome<std::unique_ptr<PictureSource>> source = open_picture(req, std::move(in));
  if (!source.ok()) return source.failure();
  PictureSource& s = *source.value();
  LoadedPicture pic;
  try {
    pic.pixels.resize(s.width(), s.height());
  } catch (const std::bad_alloc&) {
    return Failure{Fault::too_large, in_quotes(req.path) + " is too large for the memory at hand"};
  }
  const size_t row_bytes = size_t{s.width()} * 3;
  const Status read = for_each_row(s, false, [&](uint32_t y, const uint8_t* rgb) {
    std::memcpy(pic.pixels.row(y), rgb, row_bytes);
  });
  if (!read.ok()) return read.failure();
  pic.flattened = s.flattened();
  return pic;
}

}  // namespace tralk::importer
