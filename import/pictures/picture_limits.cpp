#include "import/pictures/picture_limits.h"

#include <string>

#include "base/text.h"

namespace tralk::importer {

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

}  // namespace tralk::importer
