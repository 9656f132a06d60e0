#include "bitmap/bmp_read.h"

#include <gtest/gtest.h>

#include "base/console.h"
#include "bitmap_test_util.h"

namespace {

using Colours = std::vector<std::array<uint8_t, 3>>;

BmpLayout picture(uint16_t bits, int32_t width, int32_t height, Colours colours,
                  std::vector<std::vector<uint8_t>> rows) {
  BmpLayout s;
  s.bits = bits;
  s.width = width;
  s.height = height;
  s.colours = std::move(colours);
  s.rows = std::move(rows);
  return s;
}

Colours grey_ramp(unsigned n) {
  Colours c;
  for (unsigned i = 0; i < n; ++i) {
    const auto v = static_cast<uint8_t>(i);
    c.push_back({v, static_cast<uint8_t>(v + 1), static_cast<uint8_t>(v + 2)});
  }
  return c;
}

// A small valid picture of each depth, 3 x 2.
BmpLayout valid(uint16_t bits) {
  switch (bits) {
    case 1:
      return picture(1, 3, 2, {{0, 0, 0}, {255, 255, 255}}, {{0xA0}, {0x40}});
    case 4:
      return picture(4, 3, 2, grey_ramp(16), {{0x12, 0x30}, {0x45, 0x60}});
    case 8:
      return picture(8, 3, 2, grey_ramp(256), {{1, 2, 3}, {4, 5, 6}});
    default:
      return picture(24, 3, 2, {}, {{1, 2, 3, 4, 5, 6, 7, 8, 9}, {9, 8, 7, 6, 5, 4, 3, 2, 1}});
  }
}

struct ReadResult {
  SYMBOL sym;
  uint32_t size = 0xDEAD;
  std::vector<RGBTRIPLET> table{RGBTRIPLET{9, 9, 9}};
  std::string console;
};

ReadResult read_bmp(const std::vector<uint8_t>& path, bool with_palette = true) {
  ReadResult r;
  con_capture_begin();
  r.sym = bmp_read(path, &r.size, with_palette ? &r.table : nullptr);
  r.console = con_capture_end();
  return r;
}

}  // namespace

TEST(BitmapBmpRead, EachDepthWithFillBytes) {
  struct Case {
    BmpLayout layout;
    std::vector<uint16_t> header;
    std::vector<uint8_t> data;
    size_t table_size;
  };
  const Case cases[] = {
      // 1 bit: 1 byte per row, 3 fill bytes; black entry 0 inverts.
      {valid(1), {3, 2}, {0x5F, 0xBF}, 0},
      // 4 bits, 5 wide: 3 bytes and 1 fill byte per row; the last byte's
      // spare nibble comes along as the file has it.
      {picture(4, 5, 2, grey_ramp(16), {{0x12, 0x34, 0x5F}, {0x67, 0x89, 0xAB}}),
       {0, 4, 5, 2},
       {0x12, 0x34, 0x5F, 0x67, 0x89, 0xAB},
       16},
      {valid(8), {0, 8, 3, 2}, {1, 2, 3, 4, 5, 6}, 256},
      // 24 bits, 3 wide: 9 bytes and 3 fill bytes; blue, green, red turned round.
      {valid(24), {0, 24, 3, 2}, {3, 2, 1, 6, 5, 4, 9, 8, 7, 7, 8, 9, 4, 5, 6, 1, 2, 3}, 0},
  };
  for (const auto& c : cases) {
    const ReadResult r = read_bmp(bmp_build(c.layout));
    EXPECT_EQ(r.console, "") << c.layout.bits;
    EXPECT_EQ(header_of(r.sym), c.header) << c.layout.bits;
    EXPECT_EQ(data_of(r.sym), c.data) << c.layout.bits;
    EXPECT_EQ(r.size, c.data.size()) << c.layout.bits;
    EXPECT_EQ(r.table.size(), c.table_size) << c.layout.bits;
  }
}

TEST(BitmapBmpRead, ColourTableCopyIsRedGreenBlue) {
  const ReadResult r = read_bmp(bmp_build(valid(4)));
  ASSERT_EQ(r.table.size(), 16u);
  EXPECT_EQ(r.table[0], (RGBTRIPLET{0, 1, 2}));
  EXPECT_EQ(r.table[15], (RGBTRIPLET{15, 16, 17}));
}

TEST(BitmapBmpRead, OneBitInversionFollowsBrightness) {
  struct Case {
    Colours colours;
    uint8_t expected;  // symbol byte of the file byte 0xA0
  };
  const Case cases[] = {
      {{{0, 0, 0}, {255, 255, 255}}, 0x5F},  // entry 0 darker: inverted
      {{{255, 255, 255}, {0, 0, 0}}, 0xA0},  // entry 0 brighter: as is
      {{{255, 0, 0}, {0, 0, 255}}, 0xA0},    // equally bright: as is
      {{{0, 0, 254}, {0, 0, 255}}, 0x5F},    // one step darker counts
  };
  for (const auto& c : cases) {
    const ReadResult r = read_bmp(bmp_build(picture(1, 8, 1, c.colours, {{0xA0}})));
    EXPECT_EQ(data_of(r.sym), std::vector<uint8_t>{c.expected});
  }
}

TEST(BitmapBmpRead, RefusalsInOrderWithFileName) {
  struct Case {
    const char* what;
    BmpLayout layout;
    const char* message;
    bool with_palette = true;
  };
  auto with = [](BmpLayout s, auto change) {
    change(s);
    return s;
  };
  const Case cases[] = {
      {"short header", with(valid(24), [](BmpLayout& s) { s.truncate = 30; }), "Error: File read"},
      {"signature before all",
       with(valid(8),
            [](BmpLayout& s) {
              s.signature = {'B', 'A'};
              s.info_size = 12;
              s.compression = 1;
            }),
       "Error: Not a BMP file"},
      {"header size between the OS/2 and the Windows form before compression",
       with(valid(8),
            [](BmpLayout& s) {
              s.info_size = 20;
              s.compression = 4;
            }),
       "Error: BMP format"},
      {"compression before size",
       with(valid(8),
            [](BmpLayout& s) {
              s.compression = 4;  // a JPEG inside
              s.width = 0;
            }),
       "Error: BMP compression formats not supported"},
      {"PNG inside", with(valid(24), [](BmpLayout& s) { s.compression = 5; }),
       "Error: BMP compression formats not supported"},
      {"RLE8 on a 4-bit picture", with(valid(4), [](BmpLayout& s) { s.compression = 1; }),
       "Error: BMP compression formats not supported"},
      {"masks on a 24-bit picture", with(valid(24), [](BmpLayout& s) { s.compression = 3; }),
       "Error: BMP compression formats not supported"},
      {"zero width", with(valid(8), [](BmpLayout& s) { s.width = 0; }), "Error: BMP Format"},
      {"zero height", with(valid(8), [](BmpLayout& s) { s.height = 0; }), "Error: BMP Format"},
      {"width 65536", with(valid(8), [](BmpLayout& s) { s.width = 65536; }), "Error: BMP Format"},
      {"top-down and run-length encoded",
       with(valid(8),
            [](BmpLayout& s) {
              s.height = -2;
              s.compression = 1;
            }),
       "Error: BMP Format"},
      {"size before depth",
       with(valid(8),
            [](BmpLayout& s) {
              s.bits = 2;
              s.height = 0;
            }),
       "Error: BMP Format"},
      {"2 bits", with(valid(24), [](BmpLayout& s) { s.bits = 2; }), "Error: BMP format"},
      {"24 bits too wide", with(valid(24), [](BmpLayout& s) { s.width = 21846; }),
       "Error: BMP Format"},
      {"32 bits too wide", with(valid(24), [](BmpLayout& s) { s.bits = 32, s.width = 21846; }),
       "Error: BMP Format"},
      {"palette pointer", valid(4), "Error: Parameters, missing palette pointers", false},
      {"inside colour table",
       with(valid(8),
            [](BmpLayout& s) {
              s.rows.clear();
              s.colours.resize(100);
            }),
       "Error File read"},
      {"one byte early", with(valid(24), [](BmpLayout& s) { s.truncate = 1; }), "Error File read"},
      {"inside last pixel", with(valid(24), [](BmpLayout& s) { s.truncate = 4; }),
       "Error File read"},
      {"rows missing", with(valid(8), [](BmpLayout& s) { s.height = 3; }), "Error File read"},
      {"huge promise",
       with(valid(8),
            [](BmpLayout& s) {
              s.width = 60000;
              s.height = 60000;
            }),
       "Error File read"},
      {"larger header cut short",
       with(valid(8),
            [](BmpLayout& s) {
              s.info_size = 124;
              s.colours.clear();
              s.rows.clear();
              s.truncate = 60;
            }),
       "Error: File read"},
  };
  for (const auto& c : cases) {
    const std::vector<uint8_t> path = bmp_build(c.layout);
    const ReadResult r = read_bmp(path, c.with_palette);
    EXPECT_EQ(r.console, std::string(c.message) + " File \"p.bmp\"") << c.what;
    EXPECT_TRUE(r.sym.empty()) << c.what;
    EXPECT_EQ(r.size, 0xDEADu) << c.what;
    EXPECT_EQ(r.table.size(), 1u) << c.what;
  }
}

TEST(BitmapBmpRead, TwentyFourBitsWithoutOutputs) {
  const std::vector<uint8_t> path = bmp_build(valid(24));
  con_capture_begin();
  const SYMBOL sym = bmp_read(path, nullptr, nullptr);
  EXPECT_EQ(con_capture_end(), "");
  EXPECT_EQ(header_of(sym), (std::vector<uint16_t>{0, 24, 3, 2}));
  // The widest 24-bit picture still fits a 16-bit row length.
  BmpLayout wide = valid(24);
  wide.width = 21845;
  wide.height = 1;
  wide.rows = {std::vector<uint8_t>(3 * 21845, 7)};
  const ReadResult r = read_bmp(bmp_build(wide));
  EXPECT_EQ(r.console, "");
  EXPECT_EQ(r.size, 65535u);
}

TEST(BitmapBmpRead, LargerHeadersAndPixelOffset) {
  struct Case {
    const char* what;
    uint32_t info_size;
    uint32_t gap;
    std::optional<uint32_t> offset;
  };
  const Case cases[] = {
      {"108-byte header", 108, 0, std::nullopt},
      {"124-byte header with gap", 124, 84, std::nullopt},
      {"gap after plain header", 40, 2, std::nullopt},
      {"offset pointing backwards", 40, 0, 20u},
      {"offset zero", 124, 0, 0u},
  };
  for (uint16_t bits : {1, 4, 8, 24}) {
    const ReadResult plain = read_bmp(bmp_build(valid(bits)));
    ASSERT_EQ(plain.console, "");
    for (const auto& c : cases) {
      BmpLayout s = valid(bits);
      s.info_size = c.info_size;
      s.gap = c.gap;
      s.pixel_offset = c.offset;
      const ReadResult r = read_bmp(bmp_build(s));
      EXPECT_EQ(r.console, "") << c.what << " " << bits;
      EXPECT_EQ(r.sym, plain.sym) << c.what << " " << bits;
      EXPECT_EQ(r.table, plain.table) << c.what << " " << bits;
    }
  }
}

TEST(BitmapBmpRead, ColoursUsedLimitsTheTable) {
  BmpLayout s = valid(4);
  s.colours.resize(3);
  s.colours_used = 3;
  s.rows = {{0x12, 0x0F}, {0x21, 0x0F}};  // the nibble past the width is no pixel
  ReadResult r = read_bmp(bmp_build(s));
  EXPECT_EQ(r.console, "");
  ASSERT_EQ(r.table.size(), 16u);
  EXPECT_EQ(r.table[2], (RGBTRIPLET{2, 3, 4}));
  EXPECT_EQ(r.table[3], (RGBTRIPLET{}));
  EXPECT_EQ(data_of(r.sym), (std::vector<uint8_t>{0x12, 0x0F, 0x21, 0x0F}));
  // A pixel naming a colour the table does not hold: the file is damaged.
  for (const auto& rows : std::vector<std::vector<std::vector<uint8_t>>>{
           {{0x12, 0x30}, {0x21, 0x00}}, {{0x12, 0x00}, {0x2F, 0x00}}}) {
    s.rows = rows;
    const std::vector<uint8_t> path = bmp_build(s);
    r = read_bmp(path);
    EXPECT_EQ(r.console, "Error: BMP format File \"p.bmp\"");
    EXPECT_TRUE(r.sym.empty());
  }

  // Out of range: the field is ignored and the full table is read.
  s = valid(8);
  s.colours_used = 257;
  r = read_bmp(bmp_build(s));
  EXPECT_EQ(r.console, "");
  EXPECT_EQ(r.table[255], (RGBTRIPLET{255, 0, 1}));
  EXPECT_EQ(data_of(r.sym), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6}));

  // A one-colour 1-bit table: every pixel must be its colour.
  s = picture(1, 8, 1, {{255, 255, 255}}, {{0x00}});
  s.colours_used = 1;
  r = read_bmp(bmp_build(s));
  EXPECT_EQ(data_of(r.sym), std::vector<uint8_t>{0x00});
  s.rows = {{0xA0}};
  r = read_bmp(bmp_build(s));
  EXPECT_EQ(r.console.substr(0, 18), "Error: BMP format ");
}

// The OS/2 header has no colour count: its table is as long as the room
// before the pixel data, which some writers leave shorter than the depth's.
TEST(BitmapBmpRead, Os2TableAsLongAsItsRoom) {
  BmpLayout s = picture(8, 3, 1, {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}}, {{2, 0, 1}});
  s.info_size = 12;
  ReadResult r = read_bmp(bmp_build(s));
  EXPECT_EQ(r.console, "");
  EXPECT_EQ(data_of(r.sym), (std::vector<uint8_t>{2, 0, 1}));
  ASSERT_EQ(r.table.size(), 256u);
  EXPECT_EQ(r.table[2], (RGBTRIPLET{70, 80, 90}));
  EXPECT_EQ(r.table[3], (RGBTRIPLET{}));
  s.rows = {{2, 3, 1}};
  const std::vector<uint8_t> path = bmp_build(s);
  EXPECT_EQ(read_bmp(path).console, "Error: BMP format File \"p.bmp\"");
}
