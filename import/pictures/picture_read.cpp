#include "import/pictures/picture_read.h"

#include <cerrno>
#include <cstring>
#include <new>

#include "base/fileio.h"
#include "base/text.h"
#include "import/pictures/bmp_picture.h"
#include "import/pictures/png_picture.h"

namespace tralk::importer {

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
