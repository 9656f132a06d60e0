#include "import/pictures/palette_rows.h"

namespace tralk::importer {

PaletteRows::PaletteRows(const std::vector<RGBTRIPLET>& palette, bool diffused, uint32_t width)
    : palette_(palette), nearest_(palette), width_(width) {
  if (diffused) diffusion_.emplace(width, 3);
}

void PaletteRows::row(const uint8_t* rgb, uint8_t* indices) {
  for (uint32_t x = 0; x < width_; ++x, rgb += 3) {
    uint8_t wanted[3] = {rgb[0], rgb[1], rgb[2]};
    if (diffusion_)
      for (unsigned c = 0; c < 3; ++c)
        wanted[c] = static_cast<uint8_t>(diffusion_->value(x, c, rgb[c]));
    const uint8_t k = nearest_(wanted);
    const RGBTRIPLET& entry = palette_[k];
    if (diffusion_) {
      const uint8_t got[3] = {entry.r, entry.g, entry.b};
      for (unsigned c = 0; c < 3; ++c) diffusion_->spread(x, c, wanted[c] - got[c]);
    }
    if (!(entry == RGBTRIPLET{rgb[0], rgb[1], rgb[2]})) ++moved_;
    indices[x] = k;
  }
  if (diffusion_) diffusion_->next_row();
}

}  // namespace tralk::importer
