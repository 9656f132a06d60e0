// A picture of opaque 8-bit red, green and blue pixels, held whole in
// memory: what the importer reads pictures into and writes BMP files from,
// and what the inspector draws its sheets on and writes PNG files from.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/palette.h"

struct RgbPicture {
  uint32_t width = 0;
  uint32_t height = 0;
  std::vector<uint8_t> rgb;  // red, green, blue per pixel, rows top first

  // Makes room for a picture of w x h pixels, all black.
  void resize(uint32_t w, uint32_t h) {
    width = w;
    height = h;
    rgb.assign(size_t{w} * h * 3, 0);
  }
  // Every pixel c.
  void fill(RGBTRIPLET c) {
    for (size_t i = 0; i + 2 < rgb.size(); i += 3) {
      rgb[i] = c.r;
      rgb[i + 1] = c.g;
      rgb[i + 2] = c.b;
    }
  }

  uint8_t* row(uint32_t y) { return rgb.data() + size_t{y} * width * 3; }
  const uint8_t* row(uint32_t y) const { return rgb.data() + size_t{y} * width * 3; }
  RGBTRIPLET at(uint32_t x, uint32_t y) const {
    const uint8_t* p = &rgb[(size_t{y} * width + x) * 3];
    return {p[0], p[1], p[2]};
  }
  void set(uint32_t x, uint32_t y, RGBTRIPLET c) {
    uint8_t* p = &rgb[(size_t{y} * width + x) * 3];
    p[0] = c.r;
    p[1] = c.g;
    p[2] = c.b;
  }
};
