// The inspector's own small font for the labels it draws on its pictures:
// the printable ASCII characters (0x20 to 0x7E) as glyphs of 5 x 9 pixels,
// 7 rows above the baseline (capitals and digits fill them, small letters
// the lower 5) and 2 below it for the descenders of g, j, p, q, y and the
// comma, and the underscore.
#pragma once

#include <array>
#include <cstdint>

namespace tralk::inspector {

constexpr uint32_t kLabelGlyphWidth = 5;
constexpr uint32_t kLabelGlyphHeight = 9;

// Rows of a glyph, top row first; bit 4 is the leftmost pixel.
using LabelGlyph = std::array<uint8_t, kLabelGlyphHeight>;

// The glyph of c; a character outside 0x20 to 0x7E is drawn as "?".
const LabelGlyph& label_glyph(char32_t c);

}  // namespace tralk::inspector
