#include "inspect/label_text.h"

#include "inspect/label_font.h"

namespace tralk::inspector {

uint64_t label_width(std::string_view text, uint32_t scale) {
  if (text.empty()) return 0;
  return (uint64_t{kLabelAdvance} * text.size() - 1) * scale;
}

uint64_t label_height(uint32_t scale) {
  return uint64_t{kLabelGlyphHeight} * scale;
}

void draw_label(RgbPicture& picture, uint32_t x, uint32_t y, uint32_t scale, std::string_view text,
                RGBTRIPLET colour) {
  for (const char c : text) {
    const LabelGlyph& glyph = label_glyph(static_cast<unsigned char>(c));
    for (uint32_t row = 0; row < kLabelGlyphHeight; ++row)
      for (uint32_t col = 0; col < kLabelGlyphWidth; ++col) {
        if (!(glyph[row] >> (kLabelGlyphWidth - 1 - col) & 1)) continue;
        for (uint32_t dy = 0; dy < scale; ++dy)
          for (uint32_t dx = 0; dx < scale; ++dx)
            picture.set(x + col * scale + dx, y + row * scale + dy, colour);
      }
    x += kLabelAdvance * scale;
  }
}

}  // namespace tralk::inspector
