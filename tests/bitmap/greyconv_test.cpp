#include <gtest/gtest.h>

#include "base/console.h"
#include "bitmap_test_util.h"
#include "support/symbol_conversions.h"

namespace {

struct Converted {
  SYMBOL sym;
  std::string console;
};

Converted grey(const SYMBOL& source, const std::vector<RGBTRIPLET>* palette, uint32_t levels) {
  const SYMBOL before = source;
  con_capture_begin();
  Converted c;
  c.sym = sym_greyconv(source, palette ? palette->data() : nullptr,
                       palette ? static_cast<uint16_t>(palette->size()) : 0, levels);
  c.console = con_capture_end();
  EXPECT_EQ(source, before) << "the source must stay as it was";
  return c;
}

uint32_t packed(const RGBTRIPLET& c) {
  return (uint32_t{c.r} << 16) | (c.g << 8) | c.b;
}

}  // namespace

TEST(BitmapGreyConv, LevelsOfKnownColours) {
  struct Case {
    RGBTRIPLET colour;
    uint32_t grey;  // 256 levels
    uint32_t at16, at4, at2;
  };
  const Case cases[] = {
      {{255, 255, 255}, 255, 15, 3, 1}, {{255, 0, 0}, 75, 4, 1, 0},
      {{0, 255, 0}, 149, 9, 2, 1},      {{0, 0, 255}, 29, 1, 0, 0},
      {{0, 0, 0}, 0, 0, 0, 0},          {{63, 63, 63}, 63, 3, 0, 0},  // cut off, not rounded
      {{64, 64, 64}, 64, 4, 1, 0},      {{128, 128, 128}, 128, 8, 2, 1},
  };
  struct Levels {
    uint32_t levels;
    uint16_t depth;
    uint32_t Case::*expected;
  };
  const Levels runs[] = {{256, 8, &Case::grey}, {17, 8, &Case::grey}, {16, 4, &Case::at16},
                         {5, 4, &Case::at16},   {4, 2, &Case::at4},   {3, 2, &Case::at4},
                         {2, 1, &Case::at2},    {0, 1, &Case::at2}};
  std::vector<RGBTRIPLET> table;
  std::vector<uint32_t> indices, direct;
  for (const auto& c : cases) {
    EXPECT_EQ(rgb_grey(c.colour), c.grey);
    indices.push_back(static_cast<uint32_t>(table.size()));
    table.push_back(c.colour);
    direct.push_back(packed(c.colour));
  }
  const auto w = static_cast<uint16_t>(std::size(cases));
  const SYMBOL indexed = make_symbol(w, 1, 8, indices);
  const SYMBOL rgb = make_symbol(w, 1, 24, direct);
  for (const auto& run : runs) {
    std::vector<uint32_t> expected;
    for (const auto& c : cases) expected.push_back(c.*run.expected);
    for (const SYMBOL* source : {&indexed, &rgb}) {
      const Converted r = grey(*source, &table, run.levels);
      EXPECT_EQ(r.console, "");
      EXPECT_EQ(pixels_of(r.sym), expected) << run.levels;
      if (run.depth == 1)
        EXPECT_EQ(header_of(r.sym), (std::vector<uint16_t>{w, 1})) << run.levels;
      else
        EXPECT_EQ(header_of(r.sym), (std::vector<uint16_t>{0, run.depth, w, 1})) << run.levels;
    }
  }
}

TEST(BitmapGreyConv, IndexBeyondTableTakesLastEntry) {
  std::vector<RGBTRIPLET> table(256);
  table[200] = {255, 255, 255};
  table[255] = {0, 255, 0};
  const Converted full = grey(make_symbol(2, 1, 8, {200, 0}), &table, 256);
  EXPECT_EQ(pixels_of(full.sym), (std::vector<uint32_t>{255, 0}));

  const std::vector<RGBTRIPLET> four = {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {255, 0, 0}};
  for (uint16_t bits : {2, 4}) {
    const Converted r = grey(make_symbol(3, 1, bits, {3, 2, bits == 2 ? 3u : 9u}), &four, 256);
    EXPECT_EQ(pixels_of(r.sym), (std::vector<uint32_t>{75, 0, 75})) << bits;
  }
}

TEST(BitmapGreyConv, Failures) {
  const std::vector<RGBTRIPLET> table = {{1, 2, 3}};
  const std::vector<RGBTRIPLET> empty;
  struct Case {
    const char* what;
    SYMBOL source;
    const std::vector<RGBTRIPLET>* palette;
    uint32_t levels;
    const char* message;
  };
  const Case cases[] = {
      {"no source", {}, &table, 4, "\nparameter error"},
      {"one level", make_symbol(1, 1, 8, {0}), &table, 1, "\nparameter error, cant convert b&w"},
      {"zero width",
       {0, 0, 8, 0, 0, 0, 1, 0},
       &table,
       4,
       "\nParamter error, zero size\nSymbol header error"},
      {"no table", make_symbol(1, 1, 8, {0}), nullptr, 4,
       "\nSymbol palette is needed when bmp bit pr pixel <= 8"},
      {"empty table", make_symbol(1, 1, 4, {0}), &empty, 4,
       "\nSymbol palette is needed when bmp bit pr pixel <= 8"},
      {"16 bits", make_symbol(1, 1, 16, {0}), &table, 4, "\nIllegal color symbol format"},
      {"b&w source", make_symbol(1, 1, 1, {0}), &table, 4, "\nIllegal color symbol format"},
  };
  for (const auto& c : cases) {
    const Converted r = grey(c.source, c.palette, c.levels);
    EXPECT_TRUE(r.sym.empty()) << c.what;
    EXPECT_EQ(r.console, c.message) << c.what;
  }
}
