// Building fonts in memory and scratch directories for the output tests.
#pragma once

#include <array>
#include <cstdint>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "fonts/symfont.h"
#include "output/fontlist.h"
#include "support/tempdir.h"

namespace output_test {

using Range = std::array<uint16_t, 3>;

// Pixel byte k of symbol i is seed + 16 * i + k, so every symbol of every
// font is recognisable in an image.
inline uint8_t pixel(uint8_t seed, size_t sym, size_t k) {
  return static_cast<uint8_t>(seed + 16 * sym + k);
}

// A font of b&w symbols (numbits 0) or colour symbols, one symbol per width.
inline SymFontPtr make_font(uint16_t numbits, uint16_t height, uint32_t symbytes,
                            const std::vector<uint16_t>& widths, uint8_t seed) {
  auto font = std::make_unique<SYMFONT>();
  const bool colour = numbits != 0;
  const unsigned header = colour ? kColourHeaderSize : kBwHeaderSize;
  unsigned total = 0;
  for (size_t i = 0; i < widths.size(); ++i) {
    std::vector<uint8_t> sym(header + symbytes);
    if (colour) {
      sym_set_header(sym.data(), 0, 0);
      sym_set_header(sym.data(), 1, numbits);
      sym_set_header(sym.data(), 2, widths[i]);
      sym_set_header(sym.data(), 3, height);
    } else {
      sym_set_header(sym.data(), 0, widths[i]);
      sym_set_header(sym.data(), 1, height);
    }
    for (size_t k = 0; k < symbytes; ++k) sym[header + k] = pixel(seed, i, k);
    font->symdata.insert(font->symdata.end(), sym.begin(), sym.end());
    total += widths[i];
  }
  font->symwidth = static_cast<uint16_t>((2 * total + widths.size()) / (2 * widths.size()));
  font->symheight = height;
  font->symbytes = symbytes;
  font->numsym = static_cast<uint16_t>(widths.size());
  return font;
}

inline std::unique_ptr<CPTABLE> make_cp(uint16_t defchar, std::initializer_list<Range> ranges) {
  auto cp = std::make_unique<CPTABLE>();
  cp->numranges = static_cast<uint16_t>(ranges.size());
  cp->defchar = defchar;
  for (const Range& r : ranges) cp->ranges.insert(cp->ranges.end(), r.begin(), r.end());
  return cp;
}

// The font of the worked example: b&w, width 8, height 7, 7 bytes, two
// symbols, one codepage range.
inline SymFontPtr example_font() {
  SymFontPtr font = make_font(0, 7, 7, {8, 8}, 0xA0);
  font->codepage = make_cp(32, {{32, 126, 0}});
  return font;
}

// The colour font that follows it in the two-font example.
inline SymFontPtr example_colour_font() {
  return make_font(4, 3, 9, {6}, 0x40);
}

struct FontSpec {
  std::string name;
  SymFontPtr font;
};

inline FONTLIST make_list(std::string binname, std::string id, std::vector<FontSpec> fonts) {
  FONTLIST list;
  list.binname = std::move(binname);
  list.id = std::move(id);
  for (FontSpec& f : fonts) list.entries.push_back(FONTENTRY{std::move(f.font), f.name});
  return list;
}

inline std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void write_file(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// Lines joined, each followed by "\n".
inline std::string lines(std::initializer_list<const char*> text) {
  std::string out;
  for (const char* l : text) (out += l) += '\n';
  return out;
}

}  // namespace output_test
