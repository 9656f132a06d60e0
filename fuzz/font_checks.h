// What every font handed out by a reader promises, checked, and the font run
// through the image and C source writers as the program would.
#pragma once

#include <string>

#include "base/coding.h"
#include "fonts/symfont.h"
#include "fuzz_support.h"
#include "output/image_layout.h"
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
  VMEMBUF image;
  Outcome<FONTBLOCK> block = vmem_addfont(image, font);
  check(block.ok(), "a small font did not fit an image");
  std::string bytes;
  vmem_write(image, [&bytes](const uint8_t* p, size_t n) { bytes.append(p, p + n); });
  check(bytes.size() == image.vmpos, "the image written is not the size laid out");
  check(image.vmpos % 4 == 0, "a font block is not a multiple of 4 bytes");
  check(get_u32le(reinterpret_cast<const uint8_t*>(bytes.data())) == image.vmpos,
        "the block size field is wrong");
  const uint32_t symindex = block.value().symindex;
  check(symindex >= image_layout::kBlockHeadSize && symindex < image.vmpos,
        "symbol index outside the block");
  std::string text;
  vfont_writestruct(text, "f", font, symindex, block.value().rangeindex, "0");
  check(!text.empty(), "no C structure for a loaded font");
}

}  // namespace fuzz
