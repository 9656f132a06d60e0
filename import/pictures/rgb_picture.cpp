#include "import/pictures/rgb_picture.h"

void RgbPicture::resize(uint32_t w, uint32_t h) {
  width = w;
  height = h;
  rgb.assign(size_t{w} * h * 3, 0);
}

std::string picture_size_problem(uint32_t width, uint32_t height, unsigned depth) {
  const std::string size =
      "is " + std::to_string(width) + " x " + std::to_string(height) + " pixels";
  if (width > kMaxPictureSide || height > kMaxPictureSide)
    return size + ", larger than the 65535 x 65535 that tralk reads";
  if (depth == 24 && width > kMaxWidth24)
    return size + ", wider than the 21845 pixels that tralk reads at 24 bits (--depth 8 or less " +
           "takes up to 65535)";
  return {};
}
