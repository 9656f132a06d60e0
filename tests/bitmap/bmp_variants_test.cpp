// The BMP variants beyond the plain uncompressed picture: run-length encoded,
// top-down, 16- and 32-bit with or without masks, the OS/2 header. Each is
// checked against its uncompressed twin (the same pixels in the plain form of
// the same depth; 24 bits for 16- and 32-bit pictures, with the widened
// channel values written out), through reading and both conversions.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/console.h"
#include "bitmap/bmp_load.h"
#include "bitmap/bmp_read.h"
#include "bitmap_test_util.h"

namespace {

using Colours = std::vector<std::array<uint8_t, 3>>;
using Rows = std::vector<std::vector<uint8_t>>;
using Bytes = std::vector<uint8_t>;

constexpr uint32_t kRle8 = 1;
constexpr uint32_t kRle4 = 2;
constexpr uint32_t kBitfields = 3;

// Colour tables whose entries differ, with black and white among them so
// that palette mode matches some pixels and counts the others.
Colours table(uint16_t bits) {
  if (bits == 1) return {{0, 0, 0}, {255, 255, 255}};
  Colours c;
  const unsigned n = 1u << bits;
  for (unsigned i = 0; i < n; ++i) {
    const auto v = static_cast<uint8_t>(i * 255 / (n - 1));
    c.push_back({v, static_cast<uint8_t>(255 - v), static_cast<uint8_t>(v / 2)});
  }
  c[1] = {255, 255, 255};
  return c;
}

BmpLayout plain(uint16_t bits, int32_t width, int32_t height, Rows rows) {
  BmpLayout s;
  s.bits = bits;
  s.width = width;
  s.height = height;
  if (bits <= 8) s.colours = table(bits);
  s.rows = std::move(rows);
  return s;
}

BmpLayout rle(uint16_t bits, int32_t width, int32_t height, Bytes codes) {
  BmpLayout s = plain(bits, width, height, {});
  s.compression = bits == 8 ? kRle8 : kRle4;
  s.data = std::move(codes);
  return s;
}

BmpLayout masked(uint16_t bits, int32_t width, int32_t height, std::vector<uint32_t> masks,
                 Rows rows, uint32_t info_size = 40) {
  BmpLayout s = plain(bits, width, height, std::move(rows));
  s.compression = kBitfields;
  s.masks = std::move(masks);
  s.info_size = info_size;
  return s;
}

// One row of 16- or 32-bit pixels as the file stores them, low byte first.
Bytes pixels(unsigned bytes, std::initializer_list<uint32_t> values) {
  Bytes out;
  for (uint32_t v : values)
    for (unsigned i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
  return out;
}
Bytes px16(std::initializer_list<uint32_t> values) {
  return pixels(2, values);
}
Bytes px32(std::initializer_list<uint32_t> values) {
  return pixels(4, values);
}

// What a picture gives: read as it is, loaded against a four-colour palette
// (palette mode for 4 bits, 3-3-2 for 8, 5-6-5 for 16 to 32 bits) and loaded
// as 16 grey levels, with each path's console text.
struct Paths {
  std::string read_console;
  SYMBOL read;
  uint32_t size = 0;
  std::vector<RGBTRIPLET> table;
  std::string colour_console;
  SYMBOL colour;
  std::string grey_console;
  SYMBOL grey;
};

SYMBOL loaded(const std::vector<uint8_t>& path, const RGBTRIPLET* palette, uint32_t n,
              std::string& console) {
  con_capture_begin();
  const SymFontPtr font = bmp_load(path, palette, n);
  console = con_capture_end();
  return font ? font->symdata : SYMBOL{};
}

Paths through(const std::vector<uint8_t>& path) {
  static const std::vector<RGBTRIPLET> palette = {
      {0, 0, 0}, {255, 255, 255}, {255, 0, 0}, {0, 0, 255}};
  Paths p;
  con_capture_begin();
  p.read = bmp_read(path, &p.size, &p.table);
  p.read_console = con_capture_end();
  p.colour = loaded(path, palette.data(), 4, p.colour_console);
  p.grey = loaded(path, nullptr, 16, p.grey_console);
  return p;
}

struct Twins {
  std::string what;
  BmpLayout variant;
  BmpLayout twin;
};

void expect_twins(const std::vector<Twins>& cases) {
  for (const auto& c : cases) {
    const Paths twin = through(bmp_build(c.twin));
    ASSERT_EQ(twin.read_console, "") << c.what;
    ASSERT_FALSE(twin.read.empty() || twin.colour.empty() || twin.grey.empty()) << c.what;
    const Paths got = through(bmp_build(c.variant));
    EXPECT_EQ(got.read_console, twin.read_console) << c.what;
    EXPECT_EQ(got.read, twin.read) << c.what;
    EXPECT_EQ(got.size, twin.size) << c.what;
    EXPECT_EQ(got.table, twin.table) << c.what;
    EXPECT_EQ(got.colour_console, twin.colour_console) << c.what;
    EXPECT_EQ(got.colour, twin.colour) << c.what;
    EXPECT_EQ(got.grey_console, twin.grey_console) << c.what;
    EXPECT_EQ(got.grey, twin.grey) << c.what;
  }
}

// The failure's text through reading and through loading, each followed by
// the file's name.
void expect_refusals(const std::vector<std::pair<std::string, BmpLayout>>& cases,
                     const std::string& message) {
  for (const auto& [what, layout] : cases) {
    const std::vector<uint8_t> path = bmp_build(layout);
    const Paths p = through(path);
    const std::string expected = message + " File \"p.bmp\"";
    EXPECT_EQ(p.read_console, expected) << what;
    EXPECT_TRUE(p.read.empty()) << what;
    EXPECT_EQ(p.colour_console, expected) << what;
    EXPECT_EQ(p.grey_console, expected) << what;
    EXPECT_TRUE(p.colour.empty() && p.grey.empty()) << what;
  }
}

}  // namespace

TEST(BitmapBmpVariants, RunLengthEncodedAsTheirUncompressedTwins) {
  expect_twins({
      {"RLE8: runs, absolute runs of 3 (padded) and 4 pixels, end of line, end of picture",
       rle(8, 5, 3, {3, 7, 2, 9, 0, 0,                 // bottom row: two runs, end of line
                     0, 3, 1, 2, 3, 0, 2, 4,  0, 0,    // absolute run of 3, its pad byte, a run
                     0, 4, 5, 6, 7, 8, 1, 10, 0, 1}),  // absolute run of 4, a run, end of picture
       plain(8, 5, 3, {{5, 6, 7, 8, 10}, {1, 2, 3, 4, 4}, {7, 7, 7, 9, 9}})},
      {"RLE8: deltas within a row and across rows leave index 0",
       rle(8, 4, 4, {1, 5, 0, 2, 2, 0, 1, 6, 0, 0, 0, 2, 1, 2, 2, 8, 0, 1}),
       plain(8, 4, 4, {{0, 8, 8, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {5, 0, 0, 6}})},
      {"RLE8: a delta to the right edge", rle(8, 4, 1, {2, 1, 0, 2, 2, 0, 0, 1}),
       plain(8, 4, 1, {{1, 1, 0, 0}})},
      {"RLE8: end of line after the last row, then end of picture",
       rle(8, 3, 2, {3, 1, 0, 0, 3, 2, 0, 0, 0, 1}), plain(8, 3, 2, {{2, 2, 2}, {1, 1, 1}})},
      {"RLE8: end of picture before the last rows", rle(8, 3, 3, {2, 4, 0, 1}),
       plain(8, 3, 3, {{0, 0, 0}, {0, 0, 0}, {4, 4, 0}})},
      {"RLE8: a run and an absolute run filling the row to its 4-byte boundary",
       rle(8, 3, 2, {4, 9, 0, 0, 0, 4, 1, 2, 3, 4, 0, 1}), plain(8, 3, 2, {{1, 2, 3}, {9, 9, 9}})},
      {"RLE8: 6 pixels wide, a run of 8", rle(8, 6, 1, {8, 3, 0, 1}),
       plain(8, 6, 1, {{3, 3, 3, 3, 3, 3}})},
      {"RLE4: absolute runs of 3, 4, 5 and 6 pixels, runs, end of line, end of picture",
       rle(4, 6, 4, {0, 3, 0x12, 0x30, 3,    0x45, 0, 0,           // 2 bytes, no pad; a run of 3
                     0, 5, 0xAB, 0xCD, 0xE0, 0,    1, 0xF0, 0, 0,  // 3 bytes and a pad
                     0, 4, 0x98, 0x76, 2,    0x21, 0, 0,           // 2 bytes
                     0, 6, 0x13, 0x57, 0x9B, 0,    0, 1}),         // 3 bytes and a pad
       plain(4, 6, 4,
             {{0x13, 0x57, 0x9B}, {0x98, 0x76, 0x21}, {0xAB, 0xCD, 0xEF}, {0x12, 0x34, 0x54}})},
      {"RLE4: a run starting at an odd pixel, a delta down, unset pixels",
       rle(4, 5, 3, {1, 0x70, 3, 0x12, 0, 2, 0, 2, 1, 0x30, 0, 1}),
       plain(4, 5, 3, {{0x00, 0x00, 0x30}, {0, 0, 0}, {0x71, 0x21, 0x00}})},
      {"RLE4: a run and an absolute run filling the row to its 4-byte boundary",
       rle(4, 5, 2, {8, 0x12, 0, 0, 0, 8, 0x34, 0x56, 0x78, 0x9A, 0, 1}),
       plain(4, 5, 2, {{0x34, 0x56, 0x70}, {0x12, 0x12, 0x10}})},
      {"RLE4: end of picture before the last row", rle(4, 3, 2, {2, 0x56, 0, 1}),
       plain(4, 3, 2, {{0x00, 0x00}, {0x56, 0x00}})},
  });
}

TEST(BitmapBmpVariants, TopDownAtEachDepth) {
  const Rows rows1 = {{0xA0}, {0x40}};
  const Rows rows4 = {{0x12, 0x30}, {0x45, 0x60}};
  const Rows rows8 = {{1, 2, 3}, {4, 5, 6}};
  const Rows rows24 = {{1, 2, 3, 4, 5, 6, 7, 8, 9}, {9, 8, 7, 6, 5, 4, 3, 2, 1}};
  const Rows rows16 = {px16({0x7C00, 0x03E0, 0x001F}), px16({0x7FFF, 0x0000, 0x4210})};
  const Rows rows32 = {px32({0x030201, 0x060504, 0x090807}), px32({0x070809, 0x040506, 0x010203})};
  const std::vector<uint32_t> masks32 = {0xFF0000, 0x00FF00, 0x0000FF};
  auto flipped = [](BmpLayout s) {
    s.height = -s.height;
    return s;
  };
  const BmpLayout rgb16 =
      plain(24, 3, 2, {{0, 0, 255, 0, 255, 0, 255, 0, 0}, {255, 255, 255, 0, 0, 0, 132, 132, 132}});
  expect_twins({
      {"1 bit", flipped(plain(1, 3, 2, rows1)), plain(1, 3, 2, rows1)},
      {"4 bits", flipped(plain(4, 3, 2, rows4)), plain(4, 3, 2, rows4)},
      {"8 bits", flipped(plain(8, 3, 2, rows8)), plain(8, 3, 2, rows8)},
      {"24 bits", flipped(plain(24, 3, 2, rows24)), plain(24, 3, 2, rows24)},
      {"16 bits", flipped(plain(16, 3, 2, rows16)), rgb16},
      {"16 bits with masks", flipped(masked(16, 3, 2, {0x7C00, 0x03E0, 0x001F}, rows16)), rgb16},
      {"32 bits", flipped(plain(32, 3, 2, rows32)), plain(24, 3, 2, rows24)},
      {"32 bits with masks", flipped(masked(32, 3, 2, masks32, rows32)), plain(24, 3, 2, rows24)},
  });
}

TEST(BitmapBmpVariants, SixteenAndThirtyTwoBitsAsTwentyFourBitTwins) {
  // Twins' rows are blue, green, red; a 5-bit 31 is 255, 16 is 132, 1 is 8;
  // a 6-bit 32 is 130 and 1 is 4.
  const BmpLayout twin555 =
      plain(24, 5, 1, {{255, 255, 255, 0, 0, 255, 132, 132, 132, 8, 8, 8, 0, 255, 0}});
  const BmpLayout twin565 =
      plain(24, 5, 1, {{0, 0, 255, 0, 255, 0, 255, 0, 0, 132, 130, 132, 0, 4, 0}});
  const Rows rows555 = {px16({0x7FFF, 0x7C00, 0x4210, 0x0421, 0x83E0})};  // top bit unused
  const Rows rows565 = {px16({0xF800, 0x07E0, 0x001F, 0x8410, 0x0020})};
  const Rows rows24 = {{1, 2, 3, 4, 5, 6, 7, 8, 9, 250, 251, 252, 0, 0, 0}};
  // Blue, green, red and a fourth byte that a BI_RGB picture ignores.
  const Rows rows32 = {{1, 2, 3, 0, 4, 5, 6, 0x7F, 7, 8, 9, 0xFF, 250, 251, 252, 1, 0, 0, 0, 0}};
  const std::vector<uint32_t> bgra = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
  std::vector<Twins> cases = {
      {"16 bits BI_RGB, 5-5-5", plain(16, 5, 1, rows555), twin555},
      {"16 bits, masks 5-5-5", masked(16, 5, 1, {0x7C00, 0x03E0, 0x001F}, rows555), twin555},
      {"16 bits, masks 5-6-5", masked(16, 5, 1, {0xF800, 0x07E0, 0x001F}, rows565), twin565},
      // 3, 2 and 1 bits: 0b100 is 146, 0b011 109, 0b10 170, 0b01 85, 0b1 255.
      {"16 bits, masks 3-2-1 at the top",
       masked(16, 2, 1, {0xE000, 0x1800, 0x0400}, {px16({0x9400, 0x6800})}),
       plain(24, 2, 1, {{255, 170, 146, 0, 85, 109}})},
      // 4 bits: 8 is 136, 15 is 255, 3 is 51; blue above red.
      {"16 bits, masks 4-4-4, blue on top",
       masked(16, 2, 1, {0x000F, 0x00F0, 0x0F00}, {px16({0x0F38, 0x03F8})}),
       plain(24, 2, 1, {{255, 51, 136, 51, 255, 136}})},
      {"32 bits BI_RGB, fourth byte ignored", plain(32, 5, 1, rows32), plain(24, 5, 1, rows24)},
      {"32 bits, masks 8-8-8", masked(32, 5, 1, {0xFF0000, 0x00FF00, 0x0000FF}, rows32),
       plain(24, 5, 1, rows24)},
      {"32 bits, masks red-green-blue from the bottom byte",
       masked(32, 1, 1, {0x0000FF, 0x00FF00, 0xFF0000}, {px32({0x112233})}),
       plain(24, 1, 1, {{0x11, 0x22, 0x33}})},
      // 10 bits keep their top 8: 0x2CE is 179, 0x3FF 255, 0x001 0.
      {"32 bits, masks 10-10-10",
       masked(32, 1, 1, {0x3FF00000, 0x000FFC00, 0x000003FF}, {px32({0x2CEFFC01})}),
       plain(24, 1, 1, {{0, 255, 179}})},
      // 16 bits keep their top 8, 8 stay, a 4-bit 3 is 51; the low nibble is unused.
      {"32 bits, masks 16-8-4",
       masked(32, 1, 1, {0xFFFF0000, 0x0000FF00, 0x000000F0}, {px32({0xABCD5A3F})}),
       plain(24, 1, 1, {{51, 0x5A, 0xAB}})},
      {"16 bits, alpha mask, every pixel opaque",
       masked(16, 5, 1, {0x7C00, 0x03E0, 0x001F, 0x8000},
              {px16({0xFFFF, 0xFC00, 0xC210, 0x8421, 0x83E0})}, 124),
       twin555},
      {"32 bits, alpha mask, every pixel opaque",
       masked(32, 2, 1, bgra, {px32({0xFF010203, 0xFFFAFBFC})}, 124),
       plain(24, 2, 1, {{3, 2, 1, 0xFC, 0xFB, 0xFA}})},
  };
  // The same masks after a 40-byte header and inside each larger one (the
  // 56-byte and larger ones with an alpha mask of none).
  for (uint32_t info : {52u, 56u, 108u, 124u}) {
    const std::string header = " inside a " + std::to_string(info) + "-byte header";
    cases.push_back({"16 bits, masks 5-6-5" + header,
                     masked(16, 5, 1, {0xF800, 0x07E0, 0x001F, 0}, rows565, info), twin565});
    cases.push_back({"32 bits, masks 8-8-8" + header,
                     masked(32, 5, 1, {0xFF0000, 0x00FF00, 0x0000FF, 0}, rows32, info),
                     plain(24, 5, 1, rows24)});
  }
  expect_twins(cases);
}

TEST(BitmapBmpVariants, OsTwoHeaderAtEachDepth) {
  const std::vector<std::pair<uint16_t, Rows>> pictures = {
      {1, {{0xA0}, {0x40}}},
      {4, {{0x12, 0x30}, {0x4F, 0xE0}}},
      {8, {{1, 200, 3}, {255, 5, 6}}},
      {24, {{1, 2, 3, 4, 5, 6, 7, 8, 9}, {9, 8, 7, 6, 5, 4, 3, 2, 1}}},
  };
  std::vector<Twins> cases;
  for (const auto& [bits, rows] : pictures) {
    BmpLayout os2 = plain(bits, 3, 2, rows);
    os2.info_size = 12;
    cases.push_back(
        {"OS/2 header, " + std::to_string(bits) + " bits", os2, plain(bits, 3, 2, rows)});
  }
  expect_twins(cases);
}

TEST(BitmapBmpVariants, MalformedRunLengthData) {
  expect_refusals(
      {
          {"RLE8 run past the 4-byte boundary", rle(8, 3, 1, {5, 1, 0, 1})},
          {"RLE8 run crossing the boundary after another", rle(8, 3, 1, {2, 1, 3, 1, 0, 1})},
          {"RLE8 absolute run past the boundary", rle(8, 3, 1, {0, 5, 1, 2, 3, 4, 5, 0, 0, 1})},
          {"RLE4 run past the 4-byte boundary", rle(4, 5, 1, {9, 0x11, 0, 1})},
          {"RLE4 absolute run past the boundary", rle(4, 5, 1, {0, 9, 1, 2, 3, 4, 5, 0, 0, 1})},
          {"delta leaving the picture to the right", rle(8, 4, 1, {0, 2, 5, 0, 0, 1})},
          {"delta past the width, within the 4-byte boundary", rle(8, 3, 1, {0, 2, 4, 0, 0, 1})},
          {"delta from the middle past the right edge", rle(8, 4, 1, {2, 1, 0, 2, 3, 0, 0, 1})},
          {"delta leaving the picture at the top", rle(8, 4, 2, {0, 2, 0, 2, 0, 1})},
          {"pixels after the last row's end of line", rle(8, 3, 1, {3, 1, 0, 0, 1, 1, 0, 1})},
          {"no data", rle(8, 3, 2, {})},
          {"data ending inside a row", rle(8, 3, 2, {3, 1, 0, 0, 2, 2})},
          {"data ending right after the last row's end of line",
           rle(8, 3, 2, {3, 1, 0, 0, 3, 2, 0, 0})},
          {"data ending inside a code", rle(8, 3, 1, {3, 1, 0})},
          {"data ending inside a delta", rle(8, 3, 2, {0, 2, 1})},
          {"RLE8 absolute run cut short", rle(8, 5, 1, {0, 5, 1, 2})},
          {"RLE8 absolute run without its pad byte", rle(8, 3, 1, {0, 3, 1, 2, 3})},
          {"RLE4 absolute run cut short", rle(4, 5, 1, {0, 5, 0x12})},
          {"RLE4 absolute run without its pad byte", rle(4, 5, 1, {0, 5, 0x12, 0x34, 0x50})},
      },
      "Error: BMP format");
}

TEST(BitmapBmpVariants, RunLengthPictureLargerThanItsFileCanHold) {
  // Refused from the header before any pixel memory is taken: at 65535 x
  // 65535 that would be 4 GiB for 8 bits, 2 GiB for 4.
  expect_refusals({{"RLE8, 65535 x 65535", rle(8, 65535, 65535, {0, 1})},
                   {"RLE4, 65535 x 65535", rle(4, 65535, 65535, {0, 1})}},
                  "Error: BMP format");

  // The bound: a pixel block of 64 times the file's size plus 16 MiB is
  // read (all of it index 0), one row more is refused. Bytes after the end
  // of picture make the file a multiple of 64 bytes long, so that rows of
  // 4096 pixels meet the bound exactly.
  BmpLayout probe = rle(8, 4096, 1, {0, 1});
  while (bmp_build(probe).size() % 64 != 0) probe.data->push_back(0);
  const uint64_t file_size = bmp_build(probe).size();
  const auto rows = static_cast<int32_t>((64 * file_size + (uint64_t{16} << 20)) / 4096);
  BmpLayout at_bound = probe;
  at_bound.height = rows;
  con_capture_begin();
  uint32_t size = 0;
  std::vector<RGBTRIPLET> colours;
  const std::vector<uint8_t> path = bmp_build(at_bound);
  const SYMBOL sym = bmp_read(path, &size, &colours);
  EXPECT_EQ(con_capture_end(), "");
  ASSERT_EQ(4096 * uint64_t(rows), 64 * file_size + (uint64_t{16} << 20));
  EXPECT_EQ(size, 4096u * static_cast<uint32_t>(rows));
  EXPECT_EQ(header_of(sym), (std::vector<uint16_t>{0, 8, 4096, static_cast<uint16_t>(rows)}));
  at_bound.height = rows + 1;
  expect_refusals({{"one row past the bound", at_bound}}, "Error: BMP format");
}

TEST(BitmapBmpVariants, TransparencyRefused) {
  const std::vector<uint32_t> argb = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
  const std::vector<uint32_t> rgba = {0xFF000000, 0x00FF0000, 0x0000FF00, 0x000000FF};
  const Rows one_at_254 = {px32({0xFF000000, 0xFFFFFFFF}), px32({0xFE102030, 0xFF000000})};
  expect_refusals(
      {
          {"alpha on top, 56-byte header", masked(32, 2, 2, argb, one_at_254, 56)},
          {"alpha on top, 124-byte header", masked(32, 2, 2, argb, one_at_254, 124)},
          {"alpha in the low byte", masked(32, 2, 1, rgba, {px32({0x000000FF, 0xFFFFFFFE})}, 108)},
          {"fully transparent", masked(32, 1, 1, argb, {px32({0x00FFFFFF})}, 56)},
          {"16 bits, a 1-bit alpha channel clear",
           masked(16, 2, 1, {0x7C00, 0x03E0, 0x001F, 0x8000}, {px16({0xFFFF, 0x7FFF})}, 108)},
      },
      "Error: BMP transparency not supported");
}

TEST(BitmapBmpVariants, CompressionsNotOfTheDepthAndOtherRefusals) {
  auto with = [](BmpLayout s, uint32_t compression, int32_t height) {
    s.compression = compression;
    s.height = height;
    return s;
  };
  const BmpLayout one = plain(1, 8, 1, {{0xA0}});
  const BmpLayout four = plain(4, 2, 1, {{0x12}});
  const BmpLayout eight = plain(8, 2, 1, {{1, 2}});
  const BmpLayout rgb16 = plain(16, 1, 1, {px16({0x7FFF})});
  const BmpLayout rgb24 = plain(24, 1, 1, {{1, 2, 3}});
  const BmpLayout rgb32 = plain(32, 1, 1, {px32({0x010203})});
  expect_refusals(
      {
          {"RLE4 on 8 bits", with(eight, kRle4, 1)},
          {"RLE8 on 4 bits", with(four, kRle8, 1)},
          {"RLE4 on 1 bit", with(one, kRle4, 1)},
          {"RLE8 on 16 bits", with(rgb16, kRle8, 1)},
          {"RLE8 on 24 bits", with(rgb24, kRle8, 1)},
          {"RLE4 on 32 bits", with(rgb32, kRle4, 1)},
          {"masks on 8 bits", with(eight, kBitfields, 1)},
          {"masks on 1 bit", with(one, kBitfields, 1)},
          {"masks with alpha (BI_ALPHABITFIELDS)", with(rgb32, 6, 1)},
      },
      "Error: BMP compression formats not supported");
  expect_refusals({{"top-down RLE8", rle(8, 2, -1, {2, 1, 0, 1})},
                   {"top-down RLE4", rle(4, 2, -1, {2, 0x11, 0, 1})}},
                  "Error: BMP Format");
  expect_refusals(
      {
          {"16 bits, a mask with a gap", masked(16, 1, 1, {0xF800, 0x05E0, 0x001F}, {px16({0})})},
          {"16 bits, a mask past the pixel",
           masked(16, 1, 1, {0x1F0000, 0x07E0, 0x001F}, {px16({0})})},
          {"32 bits, a blue mask with a gap",
           masked(32, 1, 1, {0xFF0000, 0x00FF00, 0x0000F1}, {px32({0})})},
          {"32 bits, an alpha mask with a gap",
           masked(32, 1, 1, {0xFF0000, 0x00FF00, 0x0000FF, 0x0F0F0000}, {px32({0})}, 56)},
      },
      "Error: BMP format");
}
