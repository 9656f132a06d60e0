#include "import/pictures/picture_read.h"

#include <cerrno>
#include <filesystem>

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

Outcome<LoadedPicture> read_picture(const PictureRequest& req) {
  errno = 0;
  const FilePtr f = file_open(req.path.c_str(), "rb");
  if (!f) return cannot_read(req, errno == ENOENT ? Fault::not_found : Fault::io);
  uint8_t head[8];
  errno = 0;
  const size_t n = std::fread(head, 1, sizeof head, f.get());
  if (std::ferror(f.get())) return cannot_read(req, Fault::io);
  if (is_png_signature(head, n)) {
    std::error_code ec;
    const uint64_t size = std::filesystem::file_size(req.path, ec);
    std::rewind(f.get());
    return read_png_picture(f.get(), ec ? 0 : size, req);
  }
  if (n >= 2 && head[0] == 'B' && head[1] == 'M') return read_bmp_picture(req);
  return Failure{Fault::unsupported, in_quotes(req.path) + " is neither a PNG nor a BMP picture"};
}

}  // namespace tralk::importer
