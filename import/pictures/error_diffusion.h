// Floyd-Steinberg error diffusion's bookkeeping, for grey levels and for
// colours alike: the error a pixel leaves (its value less the value written)
// goes 7/16 to the pixel on its right, 3/16 to the one below left, 5/16
// below and 1/16 below right; what falls off the picture is dropped. Each
// pixel's value is then t + (e + 8) >> 4 clamped to 0..255, where e is the
// sum of the sixteenths it received (e adds 7, 3, 5 and 1 times each error;
// >> 4 rounds towards minus infinity). The rows must come top row first,
// each pixel from the left, each channel of a pixel on its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tralk::importer {

class ErrorDiffusion {
 public:
  // For rows of width pixels of channels values each.
  ErrorDiffusion(uint32_t width, unsigned channels);

  // Value t of channel c of pixel x, with the error this pixel received.
  int value(uint32_t x, unsigned c, int t) const;
  // Hands on the error that channel c of pixel x left.
  void spread(uint32_t x, unsigned c, int error);
  // Moves on to the next row.
  void next_row();

 private:
  // Where channel c of pixel x keeps its share; one pixel of room on either
  // side takes what falls off the picture.
  size_t at(uint32_t x, unsigned c) const { return (size_t{x} + 1) * channels_ + c; }

  unsigned channels_;
  std::vector<int32_t> here_, below_;  // this row's shares, the next row's
};

}  // namespace tralk::importer
