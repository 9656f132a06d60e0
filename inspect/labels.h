// Labels on the inspector's pictures, drawn in its own small font: the
// printable ASCII characters (0x20 to 0x7E) as glyphs of 5 x 9 pixels,
// 7 rows above the baseline (capitals and digits fill them, small letters
// the lower 5) and 2 below it for the descenders of g, j, p, q, y and the
// comma, and the underscore. The characters stand 6 label pixels apart (a
// blank column between two), each label pixel a scale x scale square.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "base/palette.h"
#include "base/rgb_picture.h"

namespace tralk::inspector {

constexpr uint32_t kLabelGlyphWidth = 5;
constexpr uint32_t kLabelGlyphHeight = 9;

// Rows of a glyph, top row first; bit 4 is the leftmost pixel.
using LabelGlyph = std::array<uint8_t, kLabelGlyphHeight>;

// The glyph of c; a character outside 0x20 to 0x7E is drawn as "?".
const LabelGlyph& label_glyph(char32_t c);

// How far one character's left edge lies from the next, in label pixels.
constexpr uint32_t kLabelAdvance = 6;

// The width of text drawn at scale: (6 n - 1) scale for n characters.
uint64_t label_width(std::string_view text, uint32_t scale);

// The height of a label drawn at scale: 9 scale.
uint64_t label_height(uint32_t scale);

// Draws text (one character a byte) in colour with its top left corner at
// (x, y); the label must lie inside picture.
void draw_label(RgbPicture& picture, uint32_t x, uint32_t y, uint32_t scale, std::string_view text,
                RGBTRIPLET colour);

}  // namespace tralk::inspector
