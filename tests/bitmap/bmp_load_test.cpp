#include "bitmap/bmp_load.h"

#include <gtest/gtest.h>

#include "base/console.h"
#include "bitmap_test_util.h"

namespace {

const char* const kAllConverted = "\n - All pixels converted sucessfully to default palette";

struct Loaded {
  SymFontPtr font;
  std::string console;
};

Loaded load(const std::vector<uint8_t>& path, const std::vector<RGBTRIPLET>* palette, uint32_t n) {
  con_capture_begin();
  Loaded l;
  l.font = bmp_load(path, palette ? palette->data() : nullptr, n);
  l.console = con_capture_end();
  return l;
}

BmpLayout one_bit_20x10() {
  BmpLayout s;
  s.bits = 1;
  s.width = 20;
  s.height = 10;
  s.colours = {{0, 0, 0}, {255, 255, 255}};
  for (uint8_t y = 0; y < 10; ++y) s.rows.push_back({y, 0x0F, 0xF0});
  return s;
}

BmpLayout rgb_3x2() {
  BmpLayout s;
  s.bits = 24;
  s.width = 3;
  s.height = 2;
  // blue, green, red per pixel: red, green, blue / white, black, white
  s.rows = {{0, 0, 255, 0, 255, 0, 255, 0, 0}, {255, 255, 255, 0, 0, 0, 255, 255, 255}};
  return s;
}

BmpLayout indexed(uint16_t bits) {
  BmpLayout s;
  s.bits = bits;
  s.width = 2;
  s.height = 1;
  const unsigned n = bits == 4 ? 16 : 256;
  for (unsigned i = 0; i < n; ++i) s.colours.push_back({static_cast<uint8_t>(i), 0, 0});
  s.colours[1] = {255, 255, 255};
  s.rows = {bits == 4 ? std::vector<uint8_t>{0x10} : std::vector<uint8_t>{1, 0}};
  return s;
}

std::vector<RGBTRIPLET> palette_of(unsigned n) {
  std::vector<RGBTRIPLET> p(n);
  for (unsigned i = 0; i < n; ++i) p[i] = {static_cast<uint8_t>(i), 0, 0};
  p[1] = {255, 255, 255};
  return p;
}

}  // namespace

TEST(BitmapBmpLoad, DecisionTable) {
  const std::vector<RGBTRIPLET> pal4 = palette_of(4);
  const std::vector<RGBTRIPLET> pal256 = palette_of(256);
  struct Case {
    const char* what;
    BmpLayout layout;
    const std::vector<RGBTRIPLET>* palette;
    uint32_t n;
    std::vector<uint16_t> header;
    uint32_t symbytes;
    std::vector<uint32_t> pixels;
    std::string message;
  };
  std::vector<uint32_t> bw_pixels;
  for (unsigned y = 0; y < 10; ++y)
    for (unsigned x = 0; x < 20; ++x) {
      const uint32_t file_bits = (uint32_t{y} << 16) | 0x0FF0;
      bw_pixels.push_back(((~file_bits) >> (23 - x)) & 1);
    }
  const std::vector<uint32_t> rgb565 = {0xF800, 0x07E0, 0x001F, 0xFFFF, 0, 0xFFFF};
  const Case cases[] = {
      {"1 bit, no palette", one_bit_20x10(), nullptr, 0, {20, 10}, 30, bw_pixels, ""},
      {"1 bit, grey mode", one_bit_20x10(), nullptr, 16, {20, 10}, 30, bw_pixels, ""},
      {"1 bit, palette", one_bit_20x10(), &pal4, 4, {20, 10}, 30, bw_pixels, ""},
      {"24 bits, no palette", rgb_3x2(), nullptr, 0, {0, 16, 3, 2}, 12, rgb565, ""},
      {"24 bits, palette", rgb_3x2(), &pal256, 256, {0, 16, 3, 2}, 12, rgb565, ""},
      {"24 bits, 16 grey levels",
       rgb_3x2(),
       nullptr,
       16,
       {0, 4, 3, 2},
       4,
       {4, 9, 1, 15, 0, 15},
       ""},
      {"8 bits, 4-entry palette", indexed(8), &pal4, 4, {0, 8, 2, 1}, 2, {0xFF, 0}, ""},
      {"8 bits, 256-entry palette",
       indexed(8),
       &pal256,
       256,
       {0, 4, 2, 1},
       1,
       {1, 0},
       kAllConverted},
      {"8 bits, 4 grey levels", indexed(8), nullptr, 4, {0, 2, 2, 1}, 1, {3, 0}, ""},
      {"4 bits, palette", indexed(4), &pal4, 4, {0, 2, 2, 1}, 1, {1, 0}, kAllConverted},
      {"4 bits, 256 grey levels", indexed(4), nullptr, 256, {0, 8, 2, 1}, 2, {255, 0}, ""},
  };
  for (const auto& c : cases) {
    const Loaded l = load(bmp_build(c.layout), c.palette, c.n);
    EXPECT_EQ(l.console, c.message) << c.what;
    ASSERT_TRUE(l.font) << c.what;
    EXPECT_EQ(l.font->symwidth, c.layout.width) << c.what;
    EXPECT_EQ(l.font->symheight, c.layout.height) << c.what;
    EXPECT_EQ(l.font->symbytes, c.symbytes) << c.what;
    EXPECT_EQ(l.font->numsym, 1) << c.what;
    EXPECT_FALSE(l.font->codepage) << c.what;
    EXPECT_EQ(header_of(l.font->symdata), c.header) << c.what;
    EXPECT_EQ(data_of(l.font->symdata).size(), c.symbytes) << c.what;
    EXPECT_EQ(pixels_of(l.font->symdata), c.pixels) << c.what;
  }
}

TEST(BitmapBmpLoad, FailuresReturnNoFont) {
  const std::vector<uint8_t> four = bmp_build(indexed(4));
  Loaded l = load(four, nullptr, 0);
  EXPECT_FALSE(l.font);
  EXPECT_EQ(l.console, "Color conversion parameter error");

  BmpLayout broken = indexed(8);
  broken.truncate = 1;
  const std::vector<uint8_t> path = bmp_build(broken);
  l = load(path, nullptr, 0);
  EXPECT_FALSE(l.font);
  EXPECT_EQ(l.console, "Error File read File \"p.bmp\"");
}
