// Pictures written in a palette given to them (tralk-import picture
// --palette): two pictures, one palette reduced for both, each written in it
// and read back through tralk's palette mode, worked out by hand; and the
// nearest colour's rule, ties and memory of answers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "import/import_helpers.h"
#include "import/pictures/palette_rows.h"
#include "import/png_maker.h"

namespace {

using import_test::bytes;
using import_test::first_symbol_pixels;
using import_test::run_import;
using tralk::importer::NearestColour;
using Pixels = std::vector<std::vector<uint32_t>>;

std::string picture(uint32_t width, uint32_t height, std::vector<uint32_t> rgb) {
  PngLayout l;
  l.width = width;
  l.height = height;
  l.samples = std::move(rgb);
  return png_make(l);
}

// What tralk made of each picture of pictures (one font each) in palette
// mode with pal, and what it said.
std::vector<tralk::inspector::FontRecord> through_tralk(const TempDir& dir, const std::string& pal,
                                                        const std::vector<std::string>& pictures,
                                                        std::string& said) {
  std::string cfg = "t.bin 0x01\n" + pal + "\n";
  for (const std::string& p : pictures) cfg += p + "\n";
  dir.write("t.vfg", cfg);
  const RunResult r = run_tralk(dir.path(), "t.vfg");
  EXPECT_EQ(r.status, 0) << r.out;
  said = r.out;
  const std::string image = TempDir::read(dir / "t.bin");
  return tralk::inspector::inspect_image(reinterpret_cast<const uint8_t*>(image.data()),
                                         image.size())
      .fonts;
}

size_t count_of(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = 0; (at = text.find(what, at)) != std::string::npos; at += what.size()) ++n;
  return n;
}

// Picture a (R red, B blue, W white):   Picture b (b' = (0, 0, 245),
//   R R                                   r' = (245, 0, 0)):
//   B W                                   b' B
//                                         B  r'
// 8 pixels: B 3, R 2, b' 1, r' 1, W 1. Median cut to 3: the widest channel
// is red (0 to 255, first of three equal ones); by red: b' (1), B (3) reach
// half of 8, so {b', B} | {r', R, W}. Then the second box's green (0 to
// 255) is widest: r' (1), R (2) reach half of 4: {r', R} | {W}. Means:
// (0, 0, (245 + 3 * 255) / 4 = 252.5 -> 253), ((245 + 2 * 255) / 3 = 251.7
// -> 252, 0, 0), W. Nearest (squared distance): R -> 1 (9), B -> 0 (4),
// W -> 2 (0), b' -> 0 (64), r' -> 1 (49).
TEST(PicturePalette, TwoPicturesInOneReducedPaletteThroughTralk) {
  const TempDir dir;
  dir.write("a.png", picture(2, 2, {255, 0, 0, 255, 0, 0, 0, 0, 255, 255, 255, 255}));
  dir.write("b.png", picture(2, 2, {0, 0, 245, 0, 0, 255, 0, 0, 255, 245, 0, 0}));
  RunResult r = run_import(dir.path(), "palette a.png b.png --colours 3 -o ui.pal");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(TempDir::read(dir / "ui.pal"),
            "/* median cut of the 5 colours of 2 pictures */\n{\n  {0, 0, 253},\n"
            "  {252, 0, 0},\n  {255, 255, 255}\n}\n");

  r = run_import(dir.path(), "picture a.png --palette ui.pal --depth 4 -o a.bmp");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "Wrote \"a.bmp\": 2 x 2 pixels, 4 bits, the 3 colours of \"ui.pal\", 3 pixels "
            "written in another colour\n");
  const std::string file_head = bytes({'B', 'M', 74, 0, 0, 0, 0, 0, 0, 0, 66, 0, 0, 0});
  const std::string info_head =
      bytes({40, 0, 0, 0, 2,    0,    0, 0, 2,    0,    0, 0, 1, 0, 4, 0, 0, 0, 0, 0,
             8,  0, 0, 0, 0x13, 0x0B, 0, 0, 0x13, 0x0B, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0});
  const std::string table = bytes({253, 0, 0, 0, 0, 0, 252, 0, 255, 255, 255, 0});
  const std::string head = file_head + info_head + table;
  // Rows bottom first, 4 bytes each: B W = 0 2; R R = 1 1.
  EXPECT_EQ(TempDir::read(dir / "a.bmp"), head + bytes({0x02, 0, 0, 0, 0x11, 0, 0, 0}));
  r = run_import(dir.path(), "picture b.png --palette ui.pal --depth 4 -o b.bmp");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "Wrote \"b.bmp\": 2 x 2 pixels, 4 bits, the 3 colours of \"ui.pal\", 4 pixels "
            "written in another colour\n");
  EXPECT_EQ(TempDir::read(dir / "b.bmp"), head + bytes({0x01, 0, 0, 0, 0x00, 0, 0, 0}));

  std::string said;
  const auto fonts = through_tralk(dir, "ui.pal", {"a.bmp", "b.bmp"}, said);
  EXPECT_EQ(count_of(said, "- All pixels converted sucessfully to default palette"), 2u) << said;
  ASSERT_EQ(fonts.size(), 2u);
  EXPECT_EQ(fonts[0].numbits, 2);
  EXPECT_EQ(first_symbol_pixels(fonts[0]), (Pixels{{1, 1}, {0, 2}}));
  EXPECT_EQ(first_symbol_pixels(fonts[1]), (Pixels{{0, 0}, {0, 1}}));
}

// At 8 bits tralk's palette mode needs a table and a palette of 256
// entries: with --pal the palette comes filled up with black, which no
// pixel is given (the palette has no black; black would be nearer to none
// of these pixels than their own).
TEST(PicturePalette, EightBitsThroughTheFilledPalette) {
  const TempDir dir;
  dir.write("a.png", picture(2, 1, {250, 0, 0, 10, 10, 10}));
  dir.write("ui.pal", "{ {255, 0, 0}, {20, 20, 20} }\n");
  RunResult r = run_import(dir.path(), "picture a.png --palette ui.pal --depth 8 -o a.bmp");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out,
            "tralk-import picture: tralk's palette mode reads an 8-bit picture only with a "
            "palette of 256 colours, and \"ui.pal\" has 2 colours: add --pal OUT.pal to write it "
            "filled up with black\n");
  r = run_import(dir.path(),
                 "picture a.png --palette ui.pal --depth 8 --pal full.pal --depfile a.d -o a.bmp");
  EXPECT_EQ(r.status, 0) << r.out;
  const std::string home = std::filesystem::canonical(dir.path()).string();
  EXPECT_EQ(TempDir::read(dir / "a.d"),
            home + "/a.bmp " + home + "/full.pal: " + home + "/a.png \\\n " + home + "/ui.pal\n");
  const std::string bmp = TempDir::read(dir / "a.bmp");
  ASSERT_EQ(bmp.size(), 14u + 40 + 256 * 4 + 4);
  EXPECT_EQ(bmp.substr(bmp.size() - 4), bytes({0, 1, 0, 0}));
  std::string said;
  const auto fonts = through_tralk(dir, "full.pal", {"a.bmp"}, said);
  EXPECT_NE(said.find("- All pixels converted sucessfully to default palette"), std::string::npos)
      << said;
  ASSERT_EQ(fonts.size(), 1u);
  EXPECT_EQ(first_symbol_pixels(fonts[0]), (Pixels{{0, 1}}));
}

// Floyd-Steinberg in colour, worked by hand: two pixels (128, 127, 0), the
// palette red, green. The first is red (127^2 + 127^2 < 128^2 + 128^2) and
// leaves the error (-127, 127, 0); the second receives 7/16 of it,
// (-881 >> 4, 897 >> 4) = (-56, 56): (72, 183, 0) is green. Without
// dithering both are red.
TEST(PicturePalette, FloydSteinbergDiffusesEachChannel) {
  const TempDir dir;
  dir.write("a.png", picture(2, 1, {128, 127, 0, 128, 127, 0}));
  dir.write("rg.pal", "{ {255, 0, 0}, {0, 255, 0} }\n");
  const std::string head =
      bytes({'B', 'M', 66, 0, 0, 0, 0, 0, 0, 0, 62, 0, 0, 0}) +
      bytes({40, 0, 0, 0, 2,    0,    0, 0, 1,    0,    0, 0, 1, 0, 4, 0, 0, 0, 0, 0,
             4,  0, 0, 0, 0x13, 0x0B, 0, 0, 0x13, 0x0B, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0}) +
      bytes({0, 0, 255, 0, 0, 255, 0, 0});
  RunResult r = run_import(dir.path(),
                           "picture a.png --palette rg.pal --depth 4 --dither floyd-steinberg "
                           "-o fs.bmp");
  EXPECT_EQ(r.out,
            "Wrote \"fs.bmp\": 2 x 1 pixels, 4 bits, the 2 colours of \"rg.pal\", "
            "Floyd-Steinberg dithering, 2 pixels written in another colour\n");
  EXPECT_EQ(TempDir::read(dir / "fs.bmp"), head + bytes({0x01, 0, 0, 0}));
  r = run_import(dir.path(), "picture a.png --palette rg.pal --depth 4 --dither none -o n.bmp");
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(TempDir::read(dir / "n.bmp"), head + bytes({0x00, 0, 0, 0}));
}

// On grey pixels with the palette black, white, diffusion in colour is the
// b&w diffusion of --depth 1 (whose hand-worked ramp the grey tests check):
// each channel is the grey, the nearest of the two is white from 128 on,
// and the errors are the same. Read back through tralk, b&w ink (1) is
// palette index 0.
TEST(PicturePalette, FloydSteinbergOnGreysIsTheBlackAndWhiteOne) {
  const TempDir dir;
  PngLayout ramp;
  ramp.width = ramp.height = 4;
  for (uint32_t i = 0; i < 16; ++i)
    ramp.samples.insert(ramp.samples.end(), {17 * i, 17 * i, 17 * i});
  dir.write("ramp.png", png_make(ramp));
  dir.write("bw.pal", "{ {0}, {255} }\n");
  ASSERT_EQ(run_import(dir.path(), "picture ramp.png --depth 1 --dither floyd-steinberg -o d1.bmp")
                .status,
            0);
  ASSERT_EQ(run_import(dir.path(),
                       "picture ramp.png --palette bw.pal --depth 4 --dither floyd-steinberg "
                       "-o p.bmp")
                .status,
            0);
  std::string said;
  const auto fonts = through_tralk(dir, "bw.pal", {"d1.bmp", "p.bmp"}, said);
  ASSERT_EQ(fonts.size(), 2u);
  Pixels ink = first_symbol_pixels(fonts[0]);
  for (auto& row : ink)
    for (uint32_t& v : row) v = 1 - v;
  EXPECT_EQ(first_symbol_pixels(fonts[1]), ink);
  EXPECT_NE(ink, (Pixels(4, std::vector<uint32_t>(4, ink[0][0]))));  // something was dithered
}

TEST(PicturePalette, NearestIsTheLeastSquaredDistanceLowestIndexFirst) {
  struct Case {
    std::vector<RGBTRIPLET> palette;
    RGBTRIPLET colour;
    uint8_t index;
  };
  const Case cases[] = {
      {{{0, 0, 0}, {255, 255, 255}}, {0, 0, 0}, 0},         // exact
      {{{0, 0, 0}, {255, 255, 255}}, {128, 128, 128}, 1},   // 3 * 127^2 < 3 * 128^2
      {{{0, 0, 0}, {2, 0, 0}}, {1, 0, 0}, 0},               // a tie: the lower index
      {{{9, 9, 9}, {5, 5, 5}, {5, 5, 5}}, {5, 5, 5}, 1},    // the first of two equal
      {{{100, 0, 0}, {0, 90, 0}}, {0, 0, 0}, 1},            // 8100 < 10000
      {{{0, 0, 0}, {10, 0, 0}, {0, 0, 11}}, {6, 0, 6}, 1},  // 16 + 36 < 36 + 25 < 72
  };
  for (const Case& c : cases) {
    NearestColour nearest(c.palette);
    const uint8_t rgb[3] = {c.colour.r, c.colour.g, c.colour.b};
    EXPECT_EQ(nearest(rgb), c.index) << int(c.colour.r);
  }
  // Black and (1, 181, 172) share a place among the remembered answers
  // (0x01B5AC * 2654435761 mod 2^32 is below 2^16); asked in turn, each
  // gets its own.
  NearestColour nearest({{0, 0, 0}, {0, 200, 200}});
  const uint8_t black[3] = {0, 0, 0}, teal[3] = {1, 181, 172};
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(nearest(black), 0);
    EXPECT_EQ(nearest(teal), 1);  // 1 + 19^2 + 28^2 = 1146
  }
}

}  // namespace
