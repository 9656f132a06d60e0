// The words of the importer's report, which are also the comment lines of
// the .sym file: codes, lists of codes, fonts, and the shape of the symbols.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "import/fonts/cell_layout.h"
#include "import/fonts/font_face.h"

namespace tralk::importer {

// "1 code" or "2 codes".
std::string plural(size_t n, const char* one, const char* many);

// "0x0043, 0x0080-0x0081": ascending codes as runs, the first 20 runs named
// and the rest counted.
std::string code_runs(const std::vector<uint16_t>& codes);

// "\"x.bdf\" face 0: Tiny Regular, 8 px strike".
std::string font_line(const FontFace& font, uint32_t face);

// "4 bits per pixel (grey levels, 0 black, ink dark)".
std::string depth_words(unsigned bpp, bool invert);

// "287 symbols, 19 rows (15 above the baseline), 4 to 18 pixels wide, 171
// bytes each": the symbols of a layout, each of symbytes bytes.
std::string shape_line(const CellLayout& layout, uint32_t symbytes);

}  // namespace tralk::importer
