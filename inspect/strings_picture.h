// The picture of --strings --png: each font checked under its label, as on
// a contact sheet, and under it every string of every catalogue drawn as
// --text draws it, one string under the other.
//
// In sheet pixels, at scale s: a margin of 8 all round; each font's label
// (its name, or "font block N", and its code page), 4 below it the first
// string, 4 between two strings, 8 between a font's last string and the
// next font's label. A symbol drawn for a character the font lacks is
// framed in red; a string that does not fit has a red bar in the margin
// before it, and one wider than a pixel limit a red line at the limit.
#pragma once

#include <cstdint>
#include <vector>

#include "base/outcome.h"
#include "base/rgb_picture.h"
#include "inspect/image_reader.h"
#include "inspect/pixel_colour.h"
#include "inspect/strings_check.h"
#include "text/catalogue.h"

namespace tralk::inspector {

// The picture and the scale it was drawn at.
struct StringsPicture {
  RgbPicture picture;
  uint32_t scale = 0;
};

// Draws the strings in each font. scale 0 picks one that makes the tallest
// font about 48 pixels high (at most 8), smaller where the picture would be
// too large. A failure when a font's symbols cannot be drawn
// (Fault::unsupported) or the picture would be too large (Fault::too_large).
Outcome<StringsPicture> draw_strings_picture(const InspectResult& result,
                                             const std::vector<text::Catalogue>& catalogues,
                                             const std::vector<CheckedFont>& fonts,
                                             const StringsCheck& check, const TextSpacing& spacing,
                                             uint32_t scale, const ReadingOptions& opts);

}  // namespace tralk::inspector
