#include <gtest/gtest.h>

#include "base/console.h"
#include "bitmap_test_util.h"
#include "support/symbol_conversions.h"

namespace {

const char* const kAllConverted = "\n - All pixels converted sucessfully to default palette";

RGBTRIPLET colour(unsigned i) {
  return {static_cast<uint8_t>(i), static_cast<uint8_t>(i * 7), static_cast<uint8_t>(255 - i)};
}

std::vector<RGBTRIPLET> distinct(unsigned n) {
  std::vector<RGBTRIPLET> p;
  for (unsigned i = 0; i < n; ++i) p.push_back(colour(i));
  return p;
}

struct Converted {
  SYMBOL sym;
  std::string console;
};

Converted convert(const SYMBOL& source, const std::vector<RGBTRIPLET>* src,
                  const std::vector<RGBTRIPLET>* dst, uint8_t convtype) {
  const SYMBOL before = source;
  con_capture_begin();
  Converted c;
  c.sym = sym_colorconv(source, src ? src->data() : nullptr,
                        src ? static_cast<uint16_t>(src->size()) : 0, dst ? dst->data() : nullptr,
                        dst ? static_cast<uint16_t>(dst->size()) : 0, convtype);
  c.console = con_capture_end();
  EXPECT_EQ(source, before) << "the source must stay as it was";
  return c;
}

uint16_t depth_of(const SYMBOL& sym) {
  SYMSHAPE s;
  return sym_shape(sym, s) ? s.numbits : 0;
}

}  // namespace

TEST(BitmapColorConv, PaletteModeDepthsAndMessages) {
  struct Case {
    const char* what;
    std::vector<RGBTRIPLET> src;
    std::vector<RGBTRIPLET> dst;
    uint16_t bits;                 // source depth
    std::vector<uint32_t> pixels;  // source indices, 4 x 1
    uint8_t convtype;
    uint16_t depth;
    std::vector<uint32_t> result;
    std::string message;
  };
  // A 16-entry source table whose colours are target entries 0 to 9.
  std::vector<RGBTRIPLET> to_nine;
  for (unsigned i = 0; i < 16; ++i) to_nine.push_back(colour(i % 10));
  std::vector<RGBTRIPLET> with_stranger = to_nine;
  with_stranger[12] = {1, 2, 3};
  std::vector<RGBTRIPLET> sixteen_in_four;
  for (unsigned i = 0; i < 16; ++i) sixteen_in_four.push_back(colour(3 - i % 4));
  // 16 target entries where 4 to 15 repeat entries 0 to 3.
  std::vector<RGBTRIPLET> repeating = distinct(256);
  for (unsigned i = 4; i < 16; ++i) repeating[i] = colour(i % 4);

  const Case cases[] = {
      {"16 colours in 4 entries",
       sixteen_in_four,
       distinct(4),
       4,
       {0, 1, 2, 7},
       0,
       2,
       {3, 2, 1, 0},
       kAllConverted},
      {"4 bits narrowed to 2",
       to_nine,
       distinct(10),
       4,
       {0, 1, 13, 3},
       0,
       2,
       {0, 1, 3, 3},
       kAllConverted},
      {"narrowing suppressed by convtype",
       to_nine,
       distinct(10),
       4,
       {0, 1, 13, 3},
       1,
       4,
       {0, 1, 3, 3},
       kAllConverted},
      {"index beyond 3 used",
       to_nine,
       distinct(10),
       4,
       {0, 9, 13, 3},
       0,
       4,
       {0, 9, 3, 3},
       kAllConverted},
      {"one pixel to default",
       with_stranger,
       distinct(10),
       4,
       {0, 12, 13, 3},
       0,
       4,
       {0, 0, 3, 3},
       "\n - 1 pixels set to default during color conversion"},
      {"no colour matches",
       distinct(16),
       {{1, 2, 3}, {4, 5, 6}},
       4,
       {0, 5, 9, 15},
       0,
       2,
       {0, 0, 0, 0},
       "\n - 4 pixels set to default during color conversion"},
      {"8 bits narrow to 4",
       distinct(256),
       distinct(256),
       8,
       {0, 1, 2, 3},
       0,
       4,
       {0, 1, 2, 3},
       kAllConverted},
      {"8 bits narrow to 2",
       repeating,
       repeating,
       8,
       {0, 1, 2, 3},
       0,
       2,
       {0, 1, 2, 3},
       kAllConverted},
      {"8 bits stay",
       distinct(256),
       distinct(256),
       8,
       {0, 200, 2, 3},
       0,
       8,
       {0, 200, 2, 3},
       kAllConverted},
  };
  for (const auto& c : cases) {
    const SYMBOL source = make_symbol(4, 1, c.bits, c.pixels);
    const Converted r = convert(source, &c.src, &c.dst, c.convtype);
    EXPECT_EQ(r.console, c.message) << c.what;
    EXPECT_EQ(depth_of(r.sym), c.depth) << c.what;
    EXPECT_EQ(pixels_of(r.sym), c.result) << c.what;
    EXPECT_EQ(header_of(r.sym), (std::vector<uint16_t>{0, c.depth, 4, 1})) << c.what;
  }
}

TEST(BitmapColorConv, ExactMatchOnlyLowestIndexWins) {
  std::vector<RGBTRIPLET> dst = distinct(8);
  dst[6] = dst[2];
  std::vector<RGBTRIPLET> src = {dst[2], {dst[3].r, dst[3].g, static_cast<uint8_t>(dst[3].b - 1)}};
  const Converted r = convert(make_symbol(2, 1, 4, {0, 1}), &src, &dst, 0);
  EXPECT_EQ(pixels_of(r.sym), (std::vector<uint32_t>{2, 0}));
  EXPECT_EQ(r.console, "\n - 1 pixels set to default during color conversion");
}

TEST(BitmapColorConv, PixelBeyondSourceTableFailsSilently) {
  const std::vector<RGBTRIPLET> src = distinct(3);
  const std::vector<RGBTRIPLET> dst = distinct(4);
  const SYMBOL source = make_symbol(2, 1, 4, {1, 3});
  for (const auto* d : {&dst, static_cast<const std::vector<RGBTRIPLET>*>(nullptr)}) {
    const Converted r = convert(source, &src, d, d ? 0 : 8);
    EXPECT_TRUE(r.sym.empty());
    EXPECT_EQ(r.console, "");
  }
}

TEST(BitmapColorConv, PaletteToDirect) {
  struct Case {
    uint8_t convtype;
    uint16_t depth;
    uint32_t white, red;
  };
  const Case cases[] = {
      {8, 8, 0xFF, 0xE0},           {9, 16, 0xFFFF, 0xF800},       {16, 16, 0xFFFF, 0xF800},
      {17, 24, 0xFFFFFF, 0xFF0000}, {255, 24, 0xFFFFFF, 0xFF0000},
  };
  const std::vector<RGBTRIPLET> src = {{255, 255, 255}, {255, 0, 0}};
  for (const auto& c : cases) {
    const Converted r = convert(make_symbol(3, 1, 8, {0, 1, 0}), &src, nullptr, c.convtype);
    EXPECT_EQ(r.console, "");
    EXPECT_EQ(depth_of(r.sym), c.depth);
    EXPECT_EQ(pixels_of(r.sym), (std::vector<uint32_t>{c.white, c.red, c.white}));
  }
}

TEST(BitmapColorConv, DirectMode) {
  struct Case {
    uint16_t bits;
    uint32_t pixel;
    uint8_t convtype;
    std::vector<uint8_t> bytes;
  };
  const Case cases[] = {
      {24, 0xFF0000, 16, {0xF8, 0x00}},       {24, 0x123456, 12, {0x11, 0xAA}},
      {24, 0x123456, 17, {0x12, 0x34, 0x56}}, {24, 0xFFFFFF, 8, {0xFF}},
      {16, 0xF800, 24, {0xFF, 0x00, 0x00}},   {16, 0x1234, 16, {0x12, 0x34}},
      {8, 0xFF, 24, {252, 252, 240}},
  };
  for (const auto& c : cases) {
    const Converted r = convert(make_symbol(1, 1, c.bits, {c.pixel}), nullptr, nullptr, c.convtype);
    EXPECT_EQ(r.console, "");
    EXPECT_EQ(data_of(r.sym), c.bytes) << c.bits << "->" << int{c.convtype};
  }
}

TEST(BitmapColorConv, ParameterErrors) {
  const std::vector<RGBTRIPLET> pal = distinct(4);
  const SYMBOL source = make_symbol(2, 1, 4, {0, 1});
  struct Case {
    const SYMBOL* sym;
    const std::vector<RGBTRIPLET>* src;
    const std::vector<RGBTRIPLET>* dst;
    uint8_t convtype;
    const char* message;
  };
  const SYMBOL none;
  const Case cases[] = {
      {&none, &pal, &pal, 0, "\nparameter error"},
      {&source, nullptr, &pal, 0, "\nparameter error, conversion type not supported "},
      {&source, nullptr, nullptr, 7, "\nparameter error, conversion type not supported "},
      {&source, &pal, nullptr, 0, "\nparameter error, conversion type not supported "},
  };
  for (const auto& c : cases) {
    const Converted r = convert(*c.sym, c.src, c.dst, c.convtype);
    EXPECT_TRUE(r.sym.empty());
    EXPECT_EQ(r.console, c.message);
  }
}
