// tralk-import picture run as a program on BMP pictures: what tralk's own
// reader makes of the pictures it writes, at every depth and with the most
// colours each depth holds, and the exact bytes of small ones.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/fileio.h"
#include "bitmap/bitmap_test_util.h"
#include "import/import_helpers.h"
#include "support/bmp_as_is.h"

namespace {

using import_test::run_import;

// A 24-bit picture of width pixels a row, rows top first, colours 0xRRGGBB.
BmpLayout rgb_picture(int32_t width, const std::vector<uint32_t>& colours) {
  BmpLayout l;
  l.width = width;
  l.height = static_cast<int32_t>(colours.size()) / width;
  for (int32_t y = 0; y < l.height; ++y) {
    std::vector<uint8_t> row;
    for (int32_t x = 0; x < width; ++x) {
      const uint32_t c = colours[y * width + x];
      row.insert(row.end(), {static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8),
                             static_cast<uint8_t>(c >> 16)});
    }
    l.rows.push_back(row);
  }
  return l;
}

// The picture at path as tralk reads it: its depth, and each pixel as
// 0xRRGGBB (through the colour table at 4 and 8 bits) or, at 1 bit, 1 for
// ink.
struct TralkView {
  uint16_t depth = 0;
  std::vector<uint32_t> pixels;
};

TralkView tralk_view(const std::string& path) {
  const std::optional<FileBytes> bytes = read_input_file(path);
  Outcome<BmpAsIs> read =
      bytes ? bmp_read_as_is({bytes->data(), bytes->size}) : Outcome<BmpAsIs>(Failure{});
  EXPECT_TRUE(read.ok()) << path << ": fault " << static_cast<int>(read.code());
  const SYMBOL sym = read.ok() ? std::move(read->sym) : SYMBOL{};
  const std::vector<RGBTRIPLET> table = read.ok() ? read->table : std::vector<RGBTRIPLET>{};
  SYMSHAPE shape;
  if (sym.empty() || !sym_shape(sym, shape)) return {};
  TralkView v;
  v.depth = shape.numbits;
  for (uint32_t p : pixels_of(sym)) {
    const bool indexed = v.depth == 4 || v.depth == 8;
    v.pixels.push_back(indexed ? uint32_t{table.at(p).r} << 16 | table.at(p).g << 8 | table.at(p).b
                               : p);
  }
  return v;
}

struct ImportRun {
  const char* name;
  BmpLayout input;
  std::string options;
  std::string report;  // after "Wrote \"o.bmp\": "
  TralkView expected;
};

BmpLayout rle8() {
  BmpLayout l;
  l.bits = 8;
  l.width = 3;
  l.height = 2;
  l.compression = 1;
  l.colours = {{10, 20, 30}, {200, 100, 50}, {0, 255, 0}};
  l.colours_used = 3;
  // Bottom row: a run of two 1s, one 2, end of line; top row: an absolute
  // run 2, 1, 0 (padded to 16 bits), end of picture.
  l.data = std::vector<uint8_t>{2, 1, 1, 2, 0, 0, 0, 3, 2, 1, 0, 0, 0, 1};
  return l;
}

// 32-bit pixels with an alpha mask in a 56-byte header: (200, 100, 50) at
// alpha 255, 128 and 0.
BmpLayout bgra() {
  BmpLayout l;
  l.bits = 32;
  l.width = 3;
  l.compression = 3;
  l.info_size = 56;
  l.masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
  l.rows = {{50, 100, 200, 255, 50, 100, 200, 128, 50, 100, 200, 0}};
  return l;
}

// 16-bit 1-5-5-5 pixels: opaque white, transparent red.
BmpLayout argb1555() {
  BmpLayout l;
  l.bits = 16;
  l.width = 2;
  l.compression = 3;
  l.info_size = 56;
  l.masks = {0x7C00, 0x03E0, 0x001F, 0x8000};
  l.rows = {{0xFF, 0xFF, 0x00, 0x7C}};
  return l;
}

// A picture of the n colours 0x000000, 0x000001, ..., in one row, and
// those values.
std::vector<uint32_t> first(uint32_t n) {
  std::vector<uint32_t> values;
  for (uint32_t i = 0; i < n; ++i) values.push_back(i);
  return values;
}
BmpLayout colours(uint32_t n) {
  return rgb_picture(static_cast<int32_t>(n), first(n));
}

// Through the importer and back through tralk's reader. (200, 100, 50) at
// alpha 128 over (16, 32, 48): (c * 128 + B * 127) / 255 = 108.4, 66.1, 49.0.
TEST(PictureBmp, TralkReadsWhatTheImporterWrites) {
  const std::vector<ImportRun> runs = {
      {"RLE8",
       rle8(),
       "",
       "3 x 2 pixels, 24 bits",
       {24, {0x00FF00, 0xC86432, 0x0A141E, 0xC86432, 0xC86432, 0x00FF00}}},
      {"RLE8 at 8 bits",
       rle8(),
       "--depth 8",
       "3 x 2 pixels, 8 bits, 3 colours",
       {8, {0x00FF00, 0xC86432, 0x0A141E, 0xC86432, 0xC86432, 0x00FF00}}},
      {"32 bits, alpha",
       bgra(),
       "--background 102030",
       "3 x 1 pixels, 24 bits, transparency flattened onto 102030",
       {24, {0xC86432, 0x6C4231, 0x102030}}},
      {"16 bits, 1-bit alpha",
       argb1555(),
       "--background 00FF00",
       "2 x 1 pixels, 24 bits, transparency flattened onto 00FF00",
       {24, {0xFFFFFF, 0x00FF00}}},
      // The darker colour is ink; of two equally bright (red, blue) the lower
      // value; one colour pairs with the background.
      {"1 bit",
       rgb_picture(3, {0x000000, 0xFFFFFF, 0x000000}),
       "--depth 1",
       "3 x 1 pixels, 1 bit, 2 colours",
       {1, {1, 0, 1}}},
      {"1 bit, equally bright",
       rgb_picture(3, {0xFF0000, 0x0000FF, 0x0000FF}),
       "--depth 1",
       "3 x 1 pixels, 1 bit, 2 colours",
       {1, {0, 1, 1}}},
      {"1 bit, one dark colour",
       rgb_picture(2, {0x202020, 0x202020}),
       "--depth 1",
       "2 x 1 pixels, 1 bit, 1 colour",
       {1, {1, 1}}},
      {"1 bit, the background alone",
       rgb_picture(2, {0x123456, 0x123456}),
       "--depth 1 --background 123456",
       "2 x 1 pixels, 1 bit, 1 colour",
       {1, {0, 0}}},
      {"1 bit, lighter than the background",
       rgb_picture(2, {0xFFFFFF, 0xFFFFFF}),
       "--depth 1 --background 000000",
       "2 x 1 pixels, 1 bit, 1 colour",
       {1, {0, 0}}},
      // The most colours 4 and 8 bits hold (one more is refused).
      {"4 bits", colours(16), "--depth 4", "16 x 1 pixels, 4 bits, 16 colours", {4, first(16)}},
      {"8 bits", colours(256), "--depth 8", "256 x 1 pixels, 8 bits, 256 colours", {8, first(256)}},
  };
  const TempDir dir;
  for (const ImportRun& run : runs) {
    dir.write("in.bmp", bmp_build(run.input));
    const RunResult r = run_import(dir.path(), "picture in.bmp -o o.bmp " + run.options);
    EXPECT_EQ(r.status, 0) << run.name;
    EXPECT_EQ(r.out, "Wrote \"o.bmp\": " + run.report + "\n") << run.name;
    const TralkView v = tralk_view(dir / "o.bmp");
    EXPECT_EQ(v.depth, run.expected.depth) << run.name;
    EXPECT_EQ(v.pixels, run.expected.pixels) << run.name;
  }
}

std::string bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s += static_cast<char>(v);
  return s;
}

// Every byte, worked out by hand: file header, 40-byte header (2835 pixels
// per metre is 0x0B13), colour table, rows bottom first with zero fill.
TEST(PictureBmp, ExactBytes) {
  struct Bytes {
    const char* name;
    BmpLayout input;
    const char* depth;
    std::string file;
  };
  const Bytes cases[] = {
      {"24 bits", rgb_picture(2, {0xFF0000, 0x00FF00, 0x0000FF, 0x010203}), "24",
       bytes({'B',  'M',  70,   0, 0,    0,    0, 0, 0, 0, 54, 0, 0, 0,  //
              40,   0,    0,    0, 2,    0,    0, 0, 2, 0, 0,  0, 1, 0, 24, 0,
              0,    0,    0,    0, 16,   0,    0, 0,                            //
              0x13, 0x0B, 0,    0, 0x13, 0x0B, 0, 0, 0, 0, 0,  0, 0, 0, 0,  0,  //
              0xFF, 0,    0,    3, 2,    1,    0, 0,                            // bottom
              0,    0,    0xFF, 0, 0xFF, 0,    0, 0})},
      // Colours in ascending order: black 0, (9, 9, 9) 1, white 2.
      {"4 bits", rgb_picture(3, {0x090909, 0x000000, 0xFFFFFF, 0x000000, 0x000000, 0x090909}), "4",
       bytes({'B',  'M',  74, 0, 0,    0,    0, 0, 0,    0,    66,   0, 0, 0,  //
              40,   0,    0,  0, 3,    0,    0, 0, 2,    0,    0,    0, 1, 0, 4, 0,
              0,    0,    0,  0, 8,    0,    0, 0,                                   //
              0x13, 0x0B, 0,  0, 0x13, 0x0B, 0, 0, 3,    0,    0,    0, 0, 0, 0, 0,  //
              0,    0,    0,  0, 9,    9,    9, 0, 0xFF, 0xFF, 0xFF, 0,              //
              0x00, 0x10, 0,  0,                                                     // 0 0 1
              0x10, 0x20, 0,  0})},                                                  // 1 0 2
      // Lighter first: a set bit is black.
      {"1 bit", rgb_picture(9, {0, 0xFFFFFF, 0, 0xFFFFFF, 0, 0xFFFFFF, 0, 0xFFFFFF, 0}), "1",
       bytes({'B',  'M',  66,   0, 0,    0,    0, 0, 0, 0, 62, 0, 0, 0,  //
              40,   0,    0,    0, 9,    0,    0, 0, 1, 0, 0,  0, 1, 0, 1, 0,
              0,    0,    0,    0, 4,    0,    0, 0,                           //
              0x13, 0x0B, 0,    0, 0x13, 0x0B, 0, 0, 2, 0, 0,  0, 0, 0, 0, 0,  //
              0xFF, 0xFF, 0xFF, 0, 0,    0,    0, 0,                           //
              0xAA, 0x80, 0,    0})},
  };
  for (const Bytes& c : cases) {
    const TempDir dir;
    dir.write("in.bmp", bmp_build(c.input));
    const RunResult r =
        run_import(dir.path(), std::string("picture in.bmp -o o.bmp --depth ") + c.depth);
    EXPECT_EQ(r.status, 0) << c.name << ": " << r.out;
    EXPECT_EQ(TempDir::read(dir / "o.bmp"), c.file) << c.name;
  }
}

}  // namespace
