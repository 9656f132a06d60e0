// PNG pictures of every colour type and bit depth, written by libpng's
// writer, read by the importer: the pixels against values worked out by
// hand, each case as stored and interlaced. Transparency is flattened onto
// the background B = (16, 128, 240) as import/pictures/flatten.h documents:
// out = round((c * a + B * s * (max - a)) / (max * s)), s = max / 255.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "import/pictures/picture_read.h"
#include "import/png_maker.h"
#include "support/tempdir.h"

namespace {

using namespace tralk::importer;

// int, not uint8_t, so that a failure prints numbers.
using Rgb = std::array<int, 3>;

constexpr RGBTRIPLET kBackground{16, 128, 240};
constexpr Rgb kB{16, 128, 240};

Rgb grey(int v) {
  return {v, v, v};
}

struct Case {
  const char* name;
  PngLayout layout;  // one row of pixels
  std::vector<Rgb> expected;
  bool flattened;
};

PngLayout row(int type, int depth, std::vector<uint32_t> samples) {
  PngLayout s;
  s.colour_type = type;
  s.bit_depth = depth;
  s.samples = std::move(samples);
  const unsigned per_pixel = png_maker_detail::channels(type);
  s.width = static_cast<uint32_t>(s.samples.size() / per_pixel);
  return s;
}

PngLayout with_palette(PngLayout s, std::vector<std::array<uint8_t, 3>> palette,
                       std::vector<uint8_t> alpha = {}) {
  s.palette = std::move(palette);
  s.palette_alpha = std::move(alpha);
  return s;
}

PngLayout with_key(PngLayout s, std::array<uint16_t, 3> key) {
  s.key = key;
  return s;
}

// n colours: entry i is (i, 16 i mod 256, 255 - i).
std::vector<std::array<uint8_t, 3>> ramp(unsigned n) {
  std::vector<std::array<uint8_t, 3>> p;
  for (unsigned i = 0; i < n; ++i)
    p.push_back({static_cast<uint8_t>(i), static_cast<uint8_t>(i * 16 % 256),
                 static_cast<uint8_t>(255 - i)});
  return p;
}

constexpr int G = PNG_COLOR_TYPE_GRAY, GA = PNG_COLOR_TYPE_GRAY_ALPHA, RGB = PNG_COLOR_TYPE_RGB,
              RGBA = PNG_COLOR_TYPE_RGB_ALPHA, P = PNG_COLOR_TYPE_PALETTE;

const std::vector<Case>& cases() {
  static const std::vector<Case> all = {
      // Grey below 8 bits is widened by repeating its bits: x 255, x 85, x 17.
      {"grey 1", row(G, 1, {0, 1, 1, 0}), {grey(0), grey(255), grey(255), grey(0)}, false},
      {"grey 2", row(G, 2, {0, 1, 2, 3}), {grey(0), grey(85), grey(170), grey(255)}, false},
      {"grey 4", row(G, 4, {0, 1, 8, 15}), {grey(0), grey(17), grey(136), grey(255)}, false},
      {"grey 8", row(G, 8, {0, 1, 128, 255}), {grey(0), grey(1), grey(128), grey(255)}, false},
      // 16 bits: round(v / 257); 25828 / 257 = 100.498, 25829 / 257 = 100.502.
      {"grey 16",
       row(G, 16, {0, 128, 129, 32896, 25828, 25829, 65535}),
       {grey(0), grey(0), grey(1), grey(128), grey(100), grey(101), grey(255)},
       false},
      // 50 at alpha 128: (50 * 128 + B * 127) / 255 = 33.07, 88.85, 144.6.
      {"grey+alpha 8", row(GA, 8, {50, 255, 50, 0, 50, 128}), {grey(50), kB, {33, 89, 145}}, true},
      // 0x1234 opaque: 4660 / 257 = 18.13. 0x8000 at 0x4000:
      // (32768 * 16384 + B * 257 * 49151) / (65535 * 257) = 43.88, 127.88, 211.88.
      {"grey+alpha 16",
       row(GA, 16, {0x1234, 0xFFFF, 0x1234, 0, 0x8000, 0x4000}),
       {grey(18), kB, {44, 128, 212}},
       true},
      {"rgb 8", row(RGB, 8, {1, 2, 3, 255, 128, 0}), {{1, 2, 3}, {255, 128, 0}}, false},
      // 129 = 257 * 0 + 129 rounds up; 32767 = 257 * 127 + 128 and
      // 65406 = 257 * 254 + 128 round down.
      {"rgb 16",
       row(RGB, 16, {0xFFFF, 0x8080, 0x0081, 0x0080, 0x7FFF, 0xFF7E}),
       {{255, 128, 1}, {0, 127, 254}},
       false},
      // (200, 100, 0) at 64: (c * 64 + B * 191) / 255 = 62.18, 120.97, 179.76.
      {"rgba 8",
       row(RGBA, 8, {10, 20, 30, 255, 10, 20, 30, 0, 200, 100, 0, 64}),
       {{10, 20, 30}, kB, {62, 121, 180}},
       true},
      // At alpha 1 a pixel is all but background, at 0xFFFE all but itself;
      // at 0x8000 (65535, 32768, 256) gives 135.502, 127.751, 120.496.
      {"rgba 16",
       row(RGBA, 16,
           {0xFFFF, 0x8000, 0x0100, 0x8000, 0x0101, 0xFEFF, 0x8080, 1, 0x0101, 0xFEFF, 0x8080,
            0xFFFE, 0x0101, 0xFEFF, 0x8080, 0xFFFF}),
       {{136, 128, 120}, kB, {1, 254, 128}, {1, 254, 128}},
       true},
      {"palette 1",
       with_palette(row(P, 1, {1, 0, 0, 1, 1}), {{255, 0, 0}, {0, 0, 255}}),
       {{0, 0, 255}, {255, 0, 0}, {255, 0, 0}, {0, 0, 255}, {0, 0, 255}},
       false},
      {"palette 2",
       with_palette(row(P, 2, {3, 2, 1, 0}), ramp(4)),
       {{3, 48, 252}, {2, 32, 253}, {1, 16, 254}, {0, 0, 255}},
       false},
      {"palette 4",
       with_palette(row(P, 4, {15, 7, 0}), ramp(16)),
       {{15, 240, 240}, {7, 112, 248}, {0, 0, 255}},
       false},
      {"palette 8",
       with_palette(row(P, 8, {255, 200, 0}), ramp(256)),
       {{255, 240, 0}, {200, 128, 55}, {0, 0, 255}},
       false},
      // Entry 0 transparent, entry 1 at 128: (255, 0, 0) gives 135.97, 63.75,
      // 119.53; entry 2 has no alpha, so it is opaque.
      {"palette tRNS",
       with_palette(row(P, 8, {0, 1, 2}), {{9, 9, 9}, {255, 0, 0}, {1, 2, 3}}, {0, 128}),
       {kB, {136, 64, 120}, {1, 2, 3}},
       true},
      {"grey 2 tRNS", with_key(row(G, 2, {2, 3}), {2, 0, 0}), {kB, grey(255)}, true},
      {"grey 8 tRNS", with_key(row(G, 8, {100, 101}), {100, 0, 0}), {kB, grey(101)}, true},
      {"grey 16 tRNS",
       with_key(row(G, 16, {0x1234, 0x1235}), {0x1234, 0, 0}),
       {kB, grey(18)},
       true},
      {"rgb 8 tRNS", with_key(row(RGB, 8, {1, 2, 3, 1, 2, 4}), {1, 2, 3}), {kB, {1, 2, 4}}, true},
      {"rgb 16 tRNS",
       with_key(row(RGB, 16, {0x0101, 0x0202, 0x0303, 0x0101, 0x0202, 0x0304}),
                {0x0101, 0x0202, 0x0303}),
       {kB, {1, 2, 3}},
       true},
  };
  return all;
}

Outcome<LoadedPicture> read(const std::string& png) {
  PictureRequest req;
  req.path = "p.png";
  req.background = kBackground;
  return read_picture(req, std::make_unique<MemorySource>(std::span<const uint8_t>(
                               reinterpret_cast<const uint8_t*>(png.data()), png.size())));
}

std::vector<Rgb> pixels(const RgbPicture& pic) {
  std::vector<Rgb> out;
  for (uint32_t y = 0; y < pic.height; ++y)
    for (uint32_t x = 0; x < pic.width; ++x) {
      const RGBTRIPLET c = pic.at(x, y);
      out.push_back({c.r, c.g, c.b});
    }
  return out;
}

TEST(PicturePng, EveryColourTypeAndDepthAsStoredAndInterlaced) {
  for (const Case& c : cases()) {
    for (bool interlaced : {false, true}) {
      PngLayout layout = c.layout;
      layout.interlaced = interlaced;
      const std::string png = png_make(layout);
      ASSERT_FALSE(png.empty()) << c.name;
      const Outcome<LoadedPicture> pic = read(png);
      const std::string what = std::string(c.name) + (interlaced ? ", interlaced" : "");
      ASSERT_TRUE(pic.ok()) << what << ": " << pic.error();
      EXPECT_EQ(pic->pixels.width, layout.width) << what;
      EXPECT_EQ(pic->pixels.height, 1u) << what;
      EXPECT_EQ(pixels(pic->pixels), c.expected) << what;
      EXPECT_EQ(pic->flattened, c.flattened) << what;
    }
  }
}

// Adam7 spreads a picture of 10 x 9 over all seven passes; every pixel
// differs, and each must land where it belongs.
TEST(PicturePng, InterlacedPictureOfEveryPass) {
  PngLayout layout;
  layout.colour_type = PNG_COLOR_TYPE_RGB;
  layout.width = 10;
  layout.height = 9;
  layout.interlaced = true;
  std::vector<Rgb> expected;
  for (uint32_t y = 0; y < layout.height; ++y)
    for (uint32_t x = 0; x < layout.width; ++x) {
      const Rgb c{static_cast<int>(x), static_cast<int>(y), static_cast<int>(x * y)};
      layout.samples.insert(layout.samples.end(), c.begin(), c.end());
      expected.push_back(c);
    }

  const Outcome<LoadedPicture> pic = read(png_make(layout));
  ASSERT_TRUE(pic.ok()) << pic.error();
  EXPECT_EQ(pic->pixels.width, 10u);
  EXPECT_EQ(pic->pixels.height, 9u);
  EXPECT_EQ(pixels(pic->pixels), expected);
}

}  // namespace
