// Pictures as fonts: a .bmp picture becomes a font of one symbol.
#pragma once

#include <cstdint>

#include "base/palette.h"
#include "fonts/symfont.h"

// Reads the picture at path and converts its colours: to grey levels when
// palette is none and n (the level count) is 2 or more, else against the
// palette of n entries or to direct colour. On failure prints its messages
// (continuing the current console line) and returns none.
SymFontPtr bmp_load(const char* path, const RGBTRIPLET* palette, uint32_t n);
