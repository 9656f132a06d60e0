#include "import/pictures/picture_read.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "base/fileio.h"
#include "import/pictures/bmp_picture.h"
#include "import/pictures/png_picture.h"

namespace {

std::string cannot_read(const PictureRequest& req, const std::string& reason) {
  return "cannot read " + quoted(req.path) + ": " + reason;
}

}  // namespace

bool read_picture(const PictureRequest& req, RgbPicture& pic, std::string& error) {
  errno = 0;
  const FilePtr f = file_open(req.path.c_str(), "rb");
  if (!f) {
    error = cannot_read(req, std::strerror(errno ? errno : EIO));
    return false;
  }
  uint8_t head[8];
  errno = 0;
  const size_t n = std::fread(head, 1, sizeof head, f.get());
  if (std::ferror(f.get())) {
    error = cannot_read(req, std::strerror(errno ? errno : EIO));
    return false;
  }
  if (is_png_signature(head, n)) {
    std::error_code ec;
    const uint64_t size = std::filesystem::file_size(req.path, ec);
    std::rewind(f.get());
    return read_png_picture(f.get(), ec ? 0 : size, req, pic, error);
  }
  if (n >= 2 && head[0] == 'B' && head[1] == 'M') return read_bmp_picture(req, pic, error);
  error = quoted(req.path) + " is neither a PNG nor a BMP picture";
  return false;
}
