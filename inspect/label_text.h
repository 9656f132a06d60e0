// Labels on the inspector's pictures: a short text drawn in its own 5 x 9
// font (inspect/label_font.h), the characters 6 label pixels apart (a blank
// column between two), each label pixel a scale x scale square.
#pragma once

#include <cstdint>
#include <string_view>

#include "base/palette.h"
#include "base/rgb_picture.h"

namespace tralk::inspector {

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
