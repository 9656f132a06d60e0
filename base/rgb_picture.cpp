#include "base/rgb_picture.h"

void RgbPicture::resize(uint32_t w, uint32_t h) {
  width = w;
  height = h;
  rgb.assign(size_t{w} * h * 3, 0);
}

void RgbPicture::fill(RGBTRIPLET c) {
  for (size_t i = 0; i + 2 < rgb.size(); i += 3) {
    rgb[i] = c.r;
    rgb[i + 1] = c.g;
    rgb[i + 2] = c.b;
  }
}
