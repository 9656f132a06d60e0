// Text drawn the way a display draws it with one font of an image: each
// character through the font's codepage (a code no range holds through the
// default character), the symbols side by side at their own widths with the
// symbol spacing between two, a new line of symbols at each line break.
//
// The room a text takes is measured by the same rule as it is drawn: a line
// of n symbols of widths w1..wn is w1 + ... + wn + spacing (n - 1) pixels
// wide (the spacing after the last symbol draws nothing), and n lines are
// line height (n - 1) + the font's rows high.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/outcome.h"
#include "base/rgb_picture.h"
#include "cli/charset.h"
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

// A code that no codepage holds (codes are 16 bits): a character that the
// encoding lacks becomes it.
constexpr uint32_t kNoCode = 0x10000;

// The codepage codes of chars in encoding (none: Unicode): a code page's
// byte for each character, kNoCode where the code page lacks it; a line feed
// stays one.
std::vector<uint32_t> font_codes(std::u32string_view chars, const cli::Encoding* encoding);

// How the display spaces text.
struct TextSpacing {
  uint32_t symbol = 0;                  // pixels between two symbols of a line
  std::optional<uint32_t> line_height;  // from one line's top to the next; none: the font's rows
};

// The width of a line of symbols: their widths and the spacing between two.
uint64_t line_width(const FontRecord& font, const std::vector<size_t>& line, uint32_t spacing);

// The height of lines (at least 1) lines: the line height between two lines'
// tops, and the font's rows for the last.
uint64_t text_height(const FontRecord& font, size_t lines, const TextSpacing& spacing);

// Text drawn, and the scale it was drawn at.
struct TextPicture {
  RgbPicture picture;
  uint32_t scale = 0;
};

// The colour of the frame around a symbol drawn for a character that fell
// to the default character, where such symbols are marked.
constexpr RGBTRIPLET kFellBackMark{255, 0, 0};

// Draws the symbols on the sheet background with a margin around them, each
// pixel as a scale x scale square, spaced as spacing says; scale 0 picks one
// as contact sheets do.
// With mark set, each symbol drawn for the default character is framed in
// kFellBackMark (its outermost pixels overdrawn, one scaled pixel wide).
// A failure, with the reason, when the font's symbols cannot be drawn
// (Fault::unsupported) or the picture would be too large (Fault::too_large).
Outcome<TextPicture> draw_text(const FontRecord& font, const TextSymbols& text, uint32_t scale,
                               const ReadingOptions& opts, bool mark = false,
                               const TextSpacing& spacing = {});

}  // namespace tralk::inspector
