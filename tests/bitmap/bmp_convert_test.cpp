#include "bitmap/bmp_convert.h"

#include <gtest/gtest.h>

#include <random>

#include "bitmap/bmp_load.h"
#include "bitmap/bmp_read.h"
#include "bitmap/colorconv.h"
#include "bitmap/greyconv.h"
#include "bitmap_test_util.h"
#include "driver/console.h"

namespace {

// A 24-bit picture of random pixels (blue, green, red as the file holds them).
BmpLayout random_rgb(int32_t width, int32_t height, unsigned seed) {
  std::mt19937 rng(seed);
  BmpLayout s;
  s.bits = 24;
  s.width = width;
  s.height = height;
  for (int32_t y = 0; y < height; ++y) {
    std::vector<uint8_t> row;
    for (int32_t i = 0; i < 3 * width; ++i) row.push_back(static_cast<uint8_t>(rng()));
    s.rows.push_back(row);
  }
  return s;
}

// The symbol the usual way: the picture as read, then converted.
SYMBOL read_then_convert(const std::string& path, Bmp24Target target, uint16_t levels) {
  SYMBOL read = bmp_read(path.c_str(), nullptr, nullptr);
  if (target == Bmp24Target::rgb565) return sym_colorconv(read, nullptr, 0, nullptr, 0, 16);
  return sym_greyconv(read, nullptr, 0, levels);
}

uint16_t bits_of_levels(uint16_t levels) {
  return levels <= 2 ? 1 : levels <= 4 ? 2 : levels <= 16 ? 4 : 8;
}

TEST(Bmp24Converted, GivesTheSymbolOfReadingThenConverting) {
  struct Target {
    Bmp24Target target;
    uint16_t levels;  // grey levels; 0 for 5-6-5 colour
  } targets[] = {{Bmp24Target::rgb565, 0},
                 {Bmp24Target::grey, 2},
                 {Bmp24Target::grey, 4},
                 {Bmp24Target::grey, 16},
                 {Bmp24Target::grey, 256}};
  // Widths around the file's 4-byte row fill and the 1-, 2- and 4-bit packing.
  const int32_t widths[] = {1, 2, 3, 4, 5, 7, 9, 17};
  ScratchDir dir;
  unsigned seed = 1;
  for (int32_t width : widths) {
    for (int32_t height : {1, 3}) {
      const std::string path = dir.bmp("p.bmp", random_rgb(width, height, seed++));
      for (const Target& t : targets) {
        SCOPED_TRACE(testing::Message() << width << "x" << height << " levels " << t.levels);
        con_capture_begin();
        std::optional<SYMBOL> got =
            bmp_read24_converted(path.c_str(), t.target, bits_of_levels(t.levels));
        const SYMBOL want = read_then_convert(path, t.target, t.levels);
        EXPECT_EQ(con_capture_end(), "");
        ASSERT_TRUE(got.has_value());
        ASSERT_FALSE(want.empty());
        EXPECT_EQ(*got, want);
      }
    }
  }
}

TEST(Bmp24Converted, LeavesOtherPicturesAndBadFilesToTheUsualWay) {
  ScratchDir dir;
  BmpLayout eight;
  eight.bits = 8;
  eight.width = 2;
  eight.height = 1;
  eight.colours.assign(256, {0, 0, 0});
  eight.rows = {{1, 2}};
  BmpLayout short_file = random_rgb(3, 2, 7);
  short_file.truncate = 1;
  BmpLayout compressed = random_rgb(3, 2, 8);
  compressed.compression = 1;
  const std::string paths[] = {dir.bmp("eight.bmp", eight), dir.bmp("short.bmp", short_file),
                               dir.bmp("rle.bmp", compressed),
                               (dir.path() / "missing.bmp").string()};
  for (const std::string& path : paths) {
    con_capture_begin();
    EXPECT_FALSE(bmp_read24_converted(path.c_str(), Bmp24Target::rgb565, 16).has_value()) << path;
    EXPECT_EQ(con_capture_end(), "") << path;
  }
}

// Through bmp_load the usual messages still come, once, for a short file.
TEST(Bmp24Converted, PictureLoadingReportsAShortFileOnce) {
  ScratchDir dir;
  BmpLayout layout = random_rgb(3, 2, 9);
  layout.truncate = 1;
  const std::string path = dir.bmp("short.bmp", layout);
  con_capture_begin();
  EXPECT_EQ(bmp_load(path.c_str(), nullptr, 0), nullptr);
  EXPECT_EQ(con_capture_end(), "Error File read File \"" + path + "\"");
}

TEST(Bmp24Converted, PictureLoadingMakesTheFontOfTheConvertedSymbol) {
  ScratchDir dir;
  const std::string path = dir.bmp("p.bmp", random_rgb(5, 3, 11));
  for (uint32_t levels : {0u, 4u, 16u, 256u}) {
    con_capture_begin();
    SymFontPtr font = bmp_load(path.c_str(), nullptr, levels);
    const SYMBOL want = read_then_convert(path, levels ? Bmp24Target::grey : Bmp24Target::rgb565,
                                          static_cast<uint16_t>(levels));
    EXPECT_EQ(con_capture_end(), "");
    ASSERT_NE(font, nullptr) << levels;
    EXPECT_EQ(font->symdata, want) << levels;
    EXPECT_EQ(font->symbytes, sym_databytes(want)) << levels;
    EXPECT_EQ(font->symwidth, 5);
    EXPECT_EQ(font->symheight, 3);
    EXPECT_EQ(font->numsym, 1);
  }
}

// An indexed picture whose colour table takes its colours from a few of
// palette's (so that some match, with duplicates) and some of its own.
BmpLayout random_indexed(uint16_t bits, int32_t width, int32_t height,
                         const std::vector<RGBTRIPLET>& palette, unsigned max_index,
                         bool all_in_palette, std::mt19937& rng) {
  BmpLayout s;
  s.bits = bits;
  s.width = width;
  s.height = height;
  const unsigned entries = 1u << bits;
  for (unsigned i = 0; i < entries; ++i) {
    if (all_in_palette || rng() % 4) {
      const RGBTRIPLET c = palette[rng() % palette.size()];
      s.colours.push_back({c.r, c.g, c.b});
    } else {
      s.colours.push_back({static_cast<uint8_t>(rng()), 7, 7});  // in no palette
    }
  }
  const uint32_t rowbytes = bits == 8 ? width : (width + 1) / 2;
  for (int32_t y = 0; y < height; ++y) {
    std::vector<uint8_t> row(rowbytes, 0);
    for (int32_t x = 0; x < width; ++x) {
      const uint8_t v = static_cast<uint8_t>(rng() % (max_index + 1));
      if (bits == 8)
        row[x] = v;
      else
        row[x / 2] |= static_cast<uint8_t>(x % 2 ? v : v << 4);
    }
    s.rows.push_back(row);
  }
  return s;
}

std::vector<RGBTRIPLET> random_palette(unsigned count, std::mt19937& rng) {
  std::vector<RGBTRIPLET> p;
  for (unsigned i = 0; i < count; ++i) {
    // Few distinct colours, so that equal entries occur.
    p.push_back({static_cast<uint8_t>(rng() % 6 * 50), static_cast<uint8_t>(rng() % 3 * 100), 0});
  }
  return p;
}

TEST(PaletteConverted, NarrowsAsPaletteModeDoes) {
  // Table: the palette's first 16 colours; pixels only 0 to 3. The first
  // pass gives 4 bits, the narrowing pass 2 bits.
  std::vector<RGBTRIPLET> palette;
  for (unsigned i = 0; i < 40; ++i) palette.push_back({static_cast<uint8_t>(i), 1, 2});
  BmpLayout s;
  s.bits = 4;
  s.width = 4;
  s.height = 1;
  for (unsigned i = 0; i < 16; ++i) s.colours.push_back({static_cast<uint8_t>(i), 1, 2});
  s.rows = {{0x01, 0x23}};
  ScratchDir dir;
  const std::string path = dir.bmp("n.bmp", s);
  con_capture_begin();
  SymFontPtr font = bmp_load(path.c_str(), palette.data(), 40);
  EXPECT_EQ(con_capture_end(), "\n - All pixels converted sucessfully to default palette");
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(font->symdata, make_symbol(4, 1, 2, {0, 1, 2, 3}));
}

TEST(PaletteConverted, GivesTheSymbolAndMessagesOfReadingThenConverting) {
  std::mt19937 rng(5);
  ScratchDir dir;
  int narrowed = 0;
  int with_defaults = 0;
  for (int i = 0; i < 300; ++i) {
    const uint16_t bits = i % 3 ? 4 : 8;
    const unsigned count = bits == 8 ? 256 : 1 + rng() % (i % 2 ? 20 : 256);
    const std::vector<RGBTRIPLET> palette = random_palette(count, rng);
    const unsigned max_index = rng() % 2 ? 3 : (1u << bits) - 1;
    const std::string path = dir.bmp("p.bmp", random_indexed(bits, 1 + rng() % 9, 1 + rng() % 3,
                                                             palette, max_index, rng() % 2, rng));
    SCOPED_TRACE(testing::Message()
                 << "case " << i << ", " << bits << " bits, " << count << " colours");

    con_capture_begin();
    std::vector<RGBTRIPLET> table;
    const SYMBOL read = bmp_read(path.c_str(), nullptr, &table);
    const SYMBOL want = sym_colorconv(read, table.data(), static_cast<uint16_t>(table.size()),
                                      palette.data(), static_cast<uint16_t>(count), 0);
    const std::string want_console = con_capture_end();
    ASSERT_FALSE(want.empty());

    con_capture_begin();
    SymFontPtr font = bmp_load(path.c_str(), palette.data(), count);
    const std::string console = con_capture_end();
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->symdata, want);
    EXPECT_EQ(font->symbytes, sym_databytes(want));
    EXPECT_EQ(console, want_console);
    if (sym_header(want.data(), 1) < sym_header(read.data(), 1)) ++narrowed;
    if (want_console.find("set to default") != std::string::npos) ++with_defaults;
  }
  EXPECT_GT(narrowed, 10);
  EXPECT_GT(with_defaults, 10);
}

}  // namespace
