// Text drawn the way a display draws it with one font of an image: each
// character through the font's codepage (a code no range holds through the
// default character), the symbols side by side at their own widths, a new
// line of symbols at each line break.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/outcome.h"
#include "base/rgb_picture.h"
#include "inspect/image_reader.h"
#include "inspect/pixel_colour.h"
#include "inspect/png_sheet.h"

namespace tralk::inspector {

struct TextSymbols {
  std::vector<std::vector<size_t>> lines;    // symbol indexes, line by line
  std::vector<std::vector<bool>> fell_back;  // per symbol of lines: the default character's
  size_t characters = 0;                     // line breaks not counted
  size_t defaulted = 0;                      // drawn through the default character
  size_t dropped = 0;  // not drawn: not even the default character has a symbol
};

// The symbol that code stands for in the font's codepage: the first range
// {first, last, symbol} that holds code gives symbol + (code - first). None
// when no range holds it or the symbol does not lie in the block.
std::optional<size_t> codepage_symbol(const FontRecord& font, uint32_t code);

// The symbols of codes, a code of 10 (line feed) starting a new line.
TextSymbols text_symbols(const FontRecord& font, const std::vector<uint32_t>& codes);

// Text drawn, and the scale it was drawn at.
struct TextPicture {
  RgbPicture picture;
  uint32_t scale = 0;
};

// The colour of the frame around a symbol drawn for a character that fell
// to the default character, where such symbols are marked.
constexpr RGBTRIPLET kFellBackMark{255, 0, 0};

// Draws the symbols on the sheet background with a margin around them, each
// pixel as a scale x scale square; scale 0 picks one as contact sheets do.
// With mark set, each symbol drawn for the default character is framed in
// kFellBackMark (its outermost pixels overdrawn, one scaled pixel wide).
// A failure, with the reason, when the font's symbols cannot be drawn
// (Fault::unsupported) or the picture would be too large (Fault::too_large).
Outcome<TextPicture> draw_text(const FontRecord& font, const TextSymbols& text, uint32_t scale,
                               const ReadingOptions& opts, bool mark = false);

}  // namespace tralk::inspector
