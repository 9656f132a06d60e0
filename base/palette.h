// Colours and palettes, as palette files, the colour tables of pictures and
// 24-bit pixels all hold them.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

// A colour: red, green, blue, compared byte by byte.
struct RGBTRIPLET {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
  bool operator==(const RGBTRIPLET&) const = default;
};

// How light a colour is, as the darker of two picture colours is found for
// ink: the sum of the squares of its channels.
constexpr uint32_t rgb_brightness(const RGBTRIPLET& c) {
  return uint32_t{c.r} * c.r + uint32_t{c.g} * c.g + uint32_t{c.b} * c.b;
}

// A palette of 1 to 256 colours; entry i is palette index i.
struct PALTABLE {
  std::vector<RGBTRIPLET> entries;
};
using PalTablePtr = std::unique_ptr<PALTABLE>;

constexpr unsigned kMaxPaletteEntries = 256;
