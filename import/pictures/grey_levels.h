// Pictures made grey levels for small displays: b&w (2 levels) or the 4 and
// 16 levels of tralk's grey modes, with or without dithering.
//
// Brightness is tralk's own grey value, L = (76 R + 150 G + 30 B) / 256
// (integer division; 0 black, 255 white), the value its grey modes judge
// colours by. Level k of K stands for the grey 255 k / (K - 1) (0, 85, 170,
// 255 for 4 levels; steps of 17 for 16), which tralk's grey mode of K levels
// turns back into level k exactly. Each pixel's tone t is L, after two
// optional steps:
//   threshold N (b&w only; default 128): t = L * 128 / N below N,
//     128 + (L - N) * 127 / (255 - N) from N on, so that without dithering a
//     pixel is paper exactly when L >= N, and dithering draws L = N as half
//     ink; N = 128 leaves t = L;
//   invert: t = 255 - t (the lighter colour becomes ink).
// Then, with M the 4 x 4 Bayer matrix entry of (x mod 4, y mod 4):
//   none             k = (t (K - 1) + 127) / 255 (the nearest level)
//   ordered          k = (32 t (K - 1) + 255 (2 M + 1)) / 8160
//   Floyd-Steinberg  rows top down, each left to right; v = t + (e + 8) >> 4
//                    clamped to 0..255, where e is the sum of the shares of
//                    error this pixel received; k = (v (K - 1) + 127) / 255;
//                    the error v - 255 k / (K - 1) goes 7/16 to the right,
//                    3/16 down left, 5/16 down and 1/16 down right (e adds
//                    7, 3, 5 and 1 times it), what falls off the picture is
//                    dropped.
// All divisions are integer divisions; >> 4 rounds towards minus infinity.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "base/palette.h"

namespace tralk::importer {

enum class Dither { none, ordered, floyd_steinberg };

struct GreyReduction {
  unsigned levels = 2;  // 2 (b&w), 4 or 16
  Dither dither = Dither::none;
  unsigned threshold = 128;  // 0 to 255; b&w only
  bool invert = false;
};

// The grey value of a colour, as tralk's grey modes compute it.
constexpr unsigned grey_value(uint8_t r, uint8_t g, uint8_t b) {
  return (76u * r + 150u * g + 30u * b) / 256u;
}

// The grey that level stands for.
constexpr uint8_t level_grey(unsigned level, unsigned levels) {
  return static_cast<uint8_t>(255 * level / (levels - 1));
}

// Turns rows of colours into rows of levels, as above. For Floyd-Steinberg
// the rows must come top row first, each once.
class GreyLevels {
 public:
  GreyLevels(const GreyReduction& how, uint32_t width);
  // levels gets the level of each of the width pixels of rgb (3 bytes a
  // pixel), row y of the picture.
  void row(const uint8_t* rgb, uint32_t y, uint8_t* levels);

 private:
  unsigned nearest(int v) const { return (static_cast<unsigned>(v) * (levels_ - 1) + 127) / 255; }

  unsigned levels_;
  Dither dither_;
  uint32_t width_;
  std::array<uint8_t, 256> tone_{};
  // Floyd-Steinberg: the error shares (16ths) of this row and the next,
  // with one entry of room on either side.
  std::vector<int32_t> here_, below_;
};

}  // namespace tralk::importer
