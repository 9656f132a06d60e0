// Palettes and the reader of palette files (.pal).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A colour: red, green, blue, compared byte by byte.
struct RGBTRIPLET {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
  bool operator==(const RGBTRIPLET&) const = default;
};

// A palette of 1 to 256 colours; entry i is palette index i.
struct PALTABLE {
  std::vector<RGBTRIPLET> entries;
};
using PalTablePtr = std::unique_ptr<PALTABLE>;

constexpr unsigned kMaxPaletteEntries = 256;

// Reads the .pal file at path (at most its first 256 entries). On success
// stores the C identifier of the file's base name through name_out and the
// entry count through count_out, where given. On failure prints its messages
// followed by " in pal file \"path\"", writes neither output and returns none.
PalTablePtr pal_load(const char* path, std::string* name_out, uint32_t* count_out);
