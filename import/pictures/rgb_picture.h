// A picture as "tralk-import picture" holds it between reading and writing:
// opaque 8-bit red, green and blue pixels, transparency already flattened
// onto the background.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/palette.h"

struct RgbPicture {
  uint32_t width = 0;
  uint32_t height = 0;
  std::vector<uint8_t> rgb;  // red, green, blue per pixel, rows top first
  bool flattened = false;    // some pixel was not fully opaque before

  // Makes room for a picture of width x height pixels, all black.
  void resize(uint32_t w, uint32_t h);
  uint8_t* row(uint32_t y) { return rgb.data() + size_t{y} * width * 3; }
  RGBTRIPLET at(uint32_t x, uint32_t y) const {
    const uint8_t* p = rgb.data() + (size_t{y} * width + x) * 3;
    return {p[0], p[1], p[2]};
  }
};

// The largest pictures that tralk reads: 65535 pixels each way (its symbol
// header's fields), and 21845 wide at 24 bits (a 24-bit symbol row's byte
// count is a 16-bit field).
constexpr uint32_t kMaxPictureSide = 65535;
constexpr uint32_t kMaxWidth24 = 21845;

// Why a picture of width x height pixels cannot be written at depth bits for
// tralk, as "is ... pixels, ..." after the picture's name; empty when it can.
std::string picture_size_problem(uint32_t width, uint32_t height, unsigned depth);
