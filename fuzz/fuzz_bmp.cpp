// Fuzzes BMP reading together with bitmap-to-font loading. The first byte
// chooses how the picture is converted, as the configuration would:
//   bit 7 set     grey mode, with 4, 16 or 256 levels (bits 0-1; 3 means 4)
//   bit 7 clear   no grey mode; bits 0-2 pick a palette of 0 (none), 1, 2,
//                 4, 16, 17, 255 or 256 entries
// The rest of the input is the .bmp file. The palettes hold black and white
// first, then a fixed ramp, so that pictures can match them.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "bitmap/bmp_load.h"
#include "font_checks.h"
#include "fuzz_support.h"

namespace {

std::vector<RGBTRIPLET> make_palette() {
  std::vector<RGBTRIPLET> p(256);
  p[1] = {255, 255, 255};
  for (unsigned i = 2; i < p.size(); ++i)
    p[i] = {static_cast<uint8_t>(i), static_cast<uint8_t>(i * 7), static_cast<uint8_t>(i * 13)};
  return p;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::detach_stdin();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  static const std::vector<RGBTRIPLET> palette = make_palette();
  static const std::array<uint32_t, 4> kLevels = {4, 16, 256, 4};
  static const std::array<uint32_t, 8> kPaletteSizes = {0, 1, 2, 4, 16, 17, 255, 256};
  const uint8_t mode = data[0];
  MemorySource in({data + 1, size - 1});
  const uint32_t n = mode & 0x80 ? kLevels[mode & 3] : kPaletteSizes[mode & 7];
  Outcome<PictureFont> loaded = bmp_load(in, mode & 0x80 || !n ? nullptr : palette.data(), n);
  if (!loaded.ok()) {
    fuzz::check(loaded.error().empty(), "a reader worded its failure");
    return 0;
  }
  // Only palette mode counts the pixels set to default.
  fuzz::check(!loaded->defaulted || (!(mode & 0x80) && n != 0),
              "pixels counted as set to default outside palette mode");
  const SymFontPtr& font = loaded->font;
  fuzz::check(font->numsym == 1, "a picture did not become one symbol");
  fuzz::check(font->symwidth > 0 && font->symheight > 0, "a picture of no size");
  fuzz::check(font->codepage == nullptr, "a picture with a codepage");
  fuzz::exercise_font(*font);
  return 0;
}
