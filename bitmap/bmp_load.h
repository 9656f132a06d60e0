// Pictures as fonts: a .bmp picture becomes a font of one symbol.
#pragma once

#include <cstdint>
#include <optional>

#include "base/byte_source.h"
#include "base/outcome.h"
#include "base/palette.h"
#include "fonts/symfont.h"

struct PictureFont {
  SymFontPtr font;
  // Palette mode: how many pixels had a colour the palette lacks and became
  // index 0; none in the other modes.
  std::optional<uint32_t> defaulted;
};

// Reads the picture that source holds and converts its colours: to grey
// levels when palette is none and n (the level count) is 2 or more, else
// against the palette of n entries or to direct colour. A failure says
// which part of the picture it is about (bmp_field, bitmap/bmp_header.h):
// one of the file's own, or BmpField::palette (a picture only a palette
// converts, and none is given), BmpField::conversion or BmpField::font.
Outcome<PictureFont> bmp_load(ByteSource& source, const RGBTRIPLET* palette, uint32_t n);
