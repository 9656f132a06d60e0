// The virtual font image of one font list: laid out once, font by font, its
// storage indexes then written into the C source, its size checked, and the
// image streamed from the fonts into the image file. The image is never held
// whole in memory. Layout: output/image_layout.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "base/outcome.h"
#include "fonts/symfont.h"
#include "output/fontlist.h"

// Where one font's block lies in the image.
struct FONTBLOCK {
  const SYMFONT* font = nullptr;
  uint32_t start = 0;       // storage index of the block
  uint32_t size = 0;        // block size
  uint32_t symindex = 0;    // storage index of the symbol section, 0 for none
  uint32_t rangeindex = 0;  // storage index of the ranges, 0 for no codepage
};

// The layout of an image: its blocks in order.
struct VMEMBUF {
  std::vector<FONTBLOCK> blocks;
  uint32_t vmpos = 0;  // the image size so far
};

// Lays out font's block after the blocks of buf. The font must outlive buf.
// Fails, with the text of why, when the image would outgrow the 32-bit
// storage indexes or memory runs out.
Outcome<FONTBLOCK> vmem_addfont(VMEMBUF& buf, const SYMFONT& font);

// Lays out every font of list, in order (entries without a font take no
// block): vmem_addfont's failure when one cannot be.
Outcome<VMEMBUF> vmem_layout(const FONTLIST& list);

// Writes the image that buf lays out, in pieces, through out.
using ImageSink = std::function<void(const uint8_t* bytes, size_t n)>;
void vmem_write(const VMEMBUF& buf, const ImageSink& out);
