// What every font handed out by a reader promises, checked, and the font run
// through the image and C source writers as the program would.
#pragma once

#include <string>

#include "fonts/coding.h"
#include "fonts/symfont.h"
#include "fuzz_support.h"
#include "output/vfont.h"
#include "output/vmem.h"

namespace fuzz {

inline void exercise_font(const SYMFONT& font) {
  check(font.numsym >= 1, "a loaded font has no symbols");
  check(!font.symdata.empty(), "a loaded font has no symbol data");
  const size_t stride = sym_header_size(font) + size_t{font.symbytes};
  check(font.symdata.size() == font.numsym * stride, "symbol data size does not match the counts");
  const bool colour = sym_is_colour(font);
  for (size_t i = 0; i < font.numsym; ++i) {
    const uint8_t* header = font.symdata.data() + i * stride;
    const uint16_t depth = colour ? sym_header(header, 1) : 1;
    const uint16_t width = sym_header(header, colour ? 2 : 0);
    check(sym_valid_depth(depth), "a symbol of an unknown depth");
    check(uint64_t{sym_rowbytes(width, depth)} * font.symheight <= font.symbytes,
          "a symbol's rows run past its bytes");
  }
  if (font.codepage) {
    check(font.codepage->numranges >= 1, "a codepage without ranges");
    check(font.codepage->ranges.size() == 3u * font.codepage->numranges,
          "codepage ranges do not match their count");
  }
  uint32_t symindex = 0;
  uint32_t rangeindex = 0;
  VmemBufPtr image = vmem_addfont(nullptr, font, &symindex, &rangeindex);
  check(image != nullptr, "a small font did not fit an image");
  check(image->vmpos % 4 == 0, "a font block is not a multiple of 4 bytes");
  check(get_u32le(image->vmdata.data()) == image->vmpos, "the block size field is wrong");
  check(symindex >= kBlockHeadSize && symindex < image->vmpos, "symbol index outside the block");
  std::string text;
  vfont_writestruct(text, "f", font, symindex, rangeindex, "0");
  check(!text.empty(), "no C structure for a loaded font");
}

}  // namespace fuzz
