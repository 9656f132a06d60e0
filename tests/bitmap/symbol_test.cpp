#include "bitmap/symbol.h"

#include <gtest/gtest.h>

#include "bitmap_test_util.h"

TEST(BitmapSymbol, CreateRefusesBadShapes) {
  struct Case {
    uint16_t w, h, bits;
    Fault code;
  };
  const Case cases[] = {
      {0, 5, 8, Fault::usage},
      {5, 0, 8, Fault::usage},
      {5, 5, 3, Fault::usage},
      {5, 5, 32, Fault::usage},
      // 3 x 65535 bytes per row, 65535 rows: more than 32 bits can count.
      {65535, 65535, 24, Fault::too_large},
  };
  for (const auto& c : cases) {
    const Outcome<SYMBOL> sym = sym_create(c.w, c.h, c.bits);
    ASSERT_FALSE(sym.ok()) << c.w << "x" << c.h << "x" << c.bits;
    EXPECT_EQ(sym.code(), c.code) << c.w << "x" << c.h << "x" << c.bits;
  }
}

TEST(BitmapSymbol, CreateWritesHeaderAndZeroBytes) {
  EXPECT_EQ(sym_create(10, 2, 1).value(), (SYMBOL{10, 0, 2, 0, 0, 0, 0, 0}));
  EXPECT_EQ(sym_create(5, 3, 2).value(), (SYMBOL{0, 0, 2, 0, 5, 0, 3, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(BitmapSymbol, RowBytesAndDataBytes) {
  struct Case {
    uint16_t w, h, bits;
    uint32_t rowbytes, databytes;
  };
  const Case cases[] = {
      {9, 3, 1, 2, 6},  {5, 3, 2, 2, 6},    {5, 2, 4, 3, 6},
      {5, 2, 8, 5, 10}, {5, 2, 16, 10, 20}, {5, 2, 24, 15, 30},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(sym_rowbytes(c.w, c.bits), c.rowbytes) << c.bits;
    EXPECT_EQ(sym_databytes(sym_blank(c.w, c.h, c.bits)), c.databytes) << c.bits;
  }
  EXPECT_EQ(sym_databytes(SYMBOL{}), 0u);
  // A colour header with an unknown depth has no pixel bytes to speak of.
  EXPECT_EQ(sym_databytes(SYMBOL{0, 0, 3, 0, 5, 0, 5, 0}), 0u);
}

TEST(BitmapSymbol, PixelPackingPerDepth) {
  struct Case {
    uint16_t bits;
    std::vector<uint32_t> values;  // written at x = 0, 1, ...
    std::vector<uint8_t> bytes;    // the row that results
  };
  const Case cases[] = {
      {1, {1, 0, 0, 0, 0, 0, 0, 1, 1}, {0x81, 0x80}},
      {2, {1, 2, 3, 0}, {0x6C}},
      {4, {0xA, 0x5, 0x1F}, {0xA5, 0xF0}},
      {8, {0x12, 0x1FF}, {0x12, 0xFF}},
      {16, {0x1234}, {0x12, 0x34}},
      {24, {0x123456}, {0x12, 0x34, 0x56}},
  };
  for (const auto& c : cases) {
    const auto w = static_cast<uint16_t>(c.values.size());
    SYMBOL sym = sym_blank(w, 1, c.bits);
    for (uint16_t x = 0; x < w; ++x) sym_setpixel(sym, x, 0, c.values[x]);
    EXPECT_EQ(data_of(sym), c.bytes) << c.bits;
    const uint32_t mask = c.bits == 24 ? 0xFFFFFF : (1u << c.bits) - 1;
    for (uint16_t x = 0; x < w; ++x) EXPECT_EQ(sym_getpixel(sym, x, 0), c.values[x] & mask);
  }
}

TEST(BitmapSymbol, SetPixelKeepsNeighboursAndRows) {
  SYMBOL sym = make_symbol(3, 2, 2, {3, 3, 3, 3, 3, 3});
  sym_setpixel(sym, 1, 1, 0);
  EXPECT_EQ(pixels_of(sym), (std::vector<uint32_t>{3, 3, 3, 3, 0, 3}));
  EXPECT_EQ(data_of(sym), (std::vector<uint8_t>{0xFC, 0xCC}));
}

TEST(BitmapSymbol, OutsideTheSymbolReadsZeroAndWritesNothing) {
  SYMBOL sym = make_symbol(2, 2, 8, {1, 2, 3, 4});
  const SYMBOL before = sym;
  EXPECT_EQ(sym_getpixel(sym, 2, 0), 0u);
  EXPECT_EQ(sym_getpixel(sym, 0, 2), 0u);
  sym_setpixel(sym, 2, 0, 9);
  sym_setpixel(sym, 0, 2, 9);
  EXPECT_EQ(sym, before);
}

TEST(BitmapSymbol, UnknownDepthReadsZeroAndWritesNothing) {
  SYMBOL sym{0, 0, 3, 0, 2, 0, 2, 0, 0xFF, 0xFF};
  const SYMBOL before = sym;
  EXPECT_EQ(sym_getpixel(sym, 0, 0), 0u);
  sym_setpixel(sym, 0, 0, 1);
  EXPECT_EQ(sym, before);
}

TEST(BitmapSymbol, TruncatedBlockIsNeverReadPastItsEnd) {
  SYMBOL sym = sym_blank(4, 4, 8);
  sym.resize(8 + 5);
  EXPECT_EQ(sym_getpixel(sym, 3, 3), 0u);
  sym_setpixel(sym, 3, 3, 7);
  EXPECT_EQ(sym.size(), 13u);
}

TEST(BitmapSymbol, RgbPack) {
  struct Case {
    RGBTRIPLET rgb;
    uint8_t code;
    uint32_t packed;
  };
  const Case cases[] = {
      {{255, 255, 255}, 8, 0xFF},
      {{255, 255, 255}, 16, 0xFFFF},
      {{255, 255, 255}, 18, 0x3FFFF},
      {{255, 255, 255}, 24, 0xFFFFFF},
      {{255, 255, 255}, 32, 0xFFFFFF},
      {{255, 0, 0}, 16, 0xF800},
      {{0, 255, 0}, 16, 0x07E0},
      {{0, 0, 255}, 16, 0x001F},
      {{0x12, 0x34, 0x56}, 24, 0x123456},
      {{0xE0, 0x20, 0x40}, 8, 0xE5},
      {{7, 3, 7}, 16, 0},
      {{255, 255, 255}, 15, 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(rgb_pack(&c.rgb, c.code), c.packed) << int{c.code} << " " << c.packed;
  EXPECT_EQ(rgb_pack(nullptr, 16), 0u);
}

TEST(BitmapSymbol, RgbUnpack) {
  struct Case {
    uint32_t value;
    uint8_t code;
    RGBTRIPLET rgb;
  };
  const Case cases[] = {
      {0xFF, 8, {252, 252, 240}},
      {0xFFFF, 16, {255, 255, 255}},
      {0xF800, 16, {255, 0, 0}},
      {0x07E0, 16, {0, 255, 0}},
      {0x3FFFF, 18, {255, 255, 255}},
      {0x123456, 24, {0x12, 0x34, 0x56}},
      {0xAA123456, 32, {0x12, 0x34, 0x56}},
      {0x1234, 12, {0, 0, 0}},
      {0x20, 16, {0, 4, 0}},
  };
  for (const auto& c : cases) {
    RGBTRIPLET out{1, 2, 3};
    rgb_unpack(c.value, &out, c.code);
    EXPECT_EQ(out, c.rgb) << int{c.code} << " " << c.value;
  }
  rgb_unpack(0xFFFF, nullptr, 16);  // must not crash
}
