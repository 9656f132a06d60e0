// tralk-import picture for small displays: b&w and grey levels with and
// without dithering, checked against pictures worked out by hand and read
// back through tralk in its grey modes; --pal and "tralk-import palette"
// through tralk's palette mode; a picture claiming a vast size refused under
// a memory limit.
#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "import/import_helpers.h"
#include "import/png_maker.h"

namespace {

using import_test::bytes;
using import_test::first_symbol_pixels;
using import_test::run_import;
using tralk::inspector::FontRecord;
using Levels = std::vector<std::vector<uint32_t>>;

// The 4 x 4 grey ramp: pixel (x, y) is the grey 17 (4 y + x), 0 to 255, so
// that its brightness L is that value.
std::string ramp() {
  PngLayout l;
  l.width = l.height = 4;
  for (uint32_t i = 0; i < 16; ++i) l.samples.insert(l.samples.end(), {17 * i, 17 * i, 17 * i});
  return png_make(l);
}

// The only font of the image cfg (in dir) makes, as the inspector reads it.
FontRecord tralk_symbol(const TempDir& dir, const std::string& cfg, std::string* out = nullptr) {
  dir.write("t.vfg", "t.bin 0x01\n" + cfg);
  const RunResult r = run_tralk(dir.path(), "t.vfg");
  EXPECT_EQ(r.status, 0) << r.out;
  if (out) *out = r.out;
  const std::string image = TempDir::read(dir / "t.bin");
  const auto result =
      tralk::inspector::inspect_image(reinterpret_cast<const uint8_t*>(image.data()), image.size());
  EXPECT_EQ(result.fonts.size(), 1u);
  return result.fonts.empty() ? FontRecord{} : result.fonts[0];
}

struct GreyCase {
  const char* options;
  const char* greymode;  // the configuration line that reads the picture back
  uint8_t numbits;       // of tralk's symbol: 0 b&w, 2 or 4 grey levels
  Levels expected;       // tralk's pixels: 1 ink at 1 bit, else the level (0 black)
};

// Worked out by hand from the rules in import/pictures/grey_levels.h, with
// M the Bayer matrix {0 8 2 10 / 12 4 14 6 / 3 11 1 9 / 15 7 13 5}.
//  b&w none: paper from L = 136 (i = 8) on.
//  b&w ordered: paper where 32 L + 255 (2 M + 1) >= 8160: row 0 (L 0..51,
//    M 0 8 2 10) 255, 4879, 2363, 6987: all ink; row 1 (L 68..119, M 12 4
//    14 6) 8551, 5015, 10659, 7123; row 2 (M 3 11 1 9) 6137, 10761, 6205,
//    10829; row 3 all paper.
//  b&w Floyd-Steinberg, v = L + (e + 8) >> 4 and the error v - 0 or v - 255:
//    row 0: v 0, 17, 17+(119+8)>>4 = 41, 51+(287+8)>>4 = 69: all ink;
//    row 1: e 51, 705, -453, 904: v 71 ink, 129 paper, 74 ink, 176 paper;
//    row 2: e -23, -1177, 560, -671: v 135 paper, 79 ink, 205, 145 paper;
//    row 3: e -363, -393, -914, -1118: v 181, 196, 181, 185: all paper.
//  threshold 200: paper from L = 204 (row 3); --invert: ink from L = 128.
//  4 levels none, k = (3 L + 127) / 255: 0 0 0 1 / 1 1 1 1 / 2 2 2 2 / 2 3 3 3.
//  4 levels ordered, k = (96 L + 255 (2 M + 1)) / 8160: row 1 (L 68.., M 12
//    4 14 6) 6528+6375 = 12903 -> 1, 8160+2295 -> 1, 9792+7395 -> 2,
//    11424+3315 -> 1.
//  4 levels Floyd-Steinberg: row 0 v 0, 17, 41, 69 -> 0 0 0 1 (e -16);
//    row 1 v 71, 92, 116, 130 -> 1 1 1 2; row 2 v 133, 144, 161, 173 -> 2;
//    row 3 v 188 -> 2, 217, 218, 239 -> 3.
//  16 levels: L = 17 k is level k exactly, whatever the dithering.
const GreyCase kGrey[] = {
    {"--depth 1 --dither none", "", 0, {{1, 1, 1, 1}, {1, 1, 1, 1}, {0, 0, 0, 0}, {0, 0, 0, 0}}},
    {"--depth 1 --dither ordered", "", 0, {{1, 1, 1, 1}, {0, 1, 0, 1}, {1, 0, 1, 0}, {0, 0, 0, 0}}},
    {"--depth 1 --dither floyd-steinberg",
     "",
     0,
     {{1, 1, 1, 1}, {1, 0, 1, 0}, {0, 1, 0, 0}, {0, 0, 0, 0}}},
    {"--depth 1 --threshold 200", "", 0, {{1, 1, 1, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}, {0, 0, 0, 0}}},
    {"--depth 1 --invert", "", 0, {{0, 0, 0, 0}, {0, 0, 0, 0}, {1, 1, 1, 1}, {1, 1, 1, 1}}},
    {"--depth 2", "GREYMODE 4\n", 2, {{0, 0, 0, 1}, {1, 1, 1, 1}, {2, 2, 2, 2}, {2, 3, 3, 3}}},
    {"--depth 2 --dither ordered",
     "GREYMODE 4\n",
     2,
     {{0, 0, 0, 1}, {1, 1, 2, 1}, {1, 2, 2, 2}, {3, 3, 3, 3}}},
    {"--depth 2 --dither floyd-steinberg",
     "GREYMODE 4\n",
     2,
     {{0, 0, 0, 1}, {1, 1, 1, 2}, {2, 2, 2, 2}, {2, 3, 3, 3}}},
    {"--depth 4 --dither ordered",
     "GREYMODE 16\n",
     4,
     {{0, 1, 2, 3}, {4, 5, 6, 7}, {8, 9, 10, 11}, {12, 13, 14, 15}}},
    {"--depth 4 --invert",
     "GREYMODE 16\n",
     4,
     {{15, 14, 13, 12}, {11, 10, 9, 8}, {7, 6, 5, 4}, {3, 2, 1, 0}}},
};

TEST(PictureGrey, RampThroughEachDitherReadBackByTralk) {
  for (const GreyCase& c : kGrey) {
    const TempDir dir;
    dir.write("ramp.png", ramp());
    const RunResult r =
        run_import(dir.path(), std::string("picture ramp.png -o r.bmp ") + c.options);
    ASSERT_EQ(r.status, 0) << c.options << ": " << r.out;
    const FontRecord f = tralk_symbol(dir, std::string(c.greymode) + "r.bmp R\n");
    EXPECT_EQ(f.numbits, c.numbits) << c.options;
    EXPECT_EQ(first_symbol_pixels(f), c.expected) << c.options;
  }
}

// Every byte: white then black in the table (a set bit is ink), the rows of
// the Floyd-Steinberg case above bottom first; and the grey table of
// --depth 2, the first row's levels 0 0 0 1 as the last row of the file.
TEST(PictureGrey, ExactBytesAndReports) {
  const TempDir dir;
  dir.write("ramp.png", ramp());
  RunResult r =
      run_import(dir.path(), "picture ramp.png --depth 1 --dither floyd-steinberg -o a.bmp");
  EXPECT_EQ(r.out,
            "Wrote \"a.bmp\": 4 x 4 pixels, 1 bit, b&w at threshold 128, Floyd-Steinberg "
            "dithering\n");
  EXPECT_EQ(TempDir::read(dir / "a.bmp"),
            bytes({'B', 'M', 78,   0, 0, 0, 0,    0,    0,    0, 62,   0,    0, 0, 40,   0,
                   0,   0,   4,    0, 0, 0, 4,    0,    0,    0, 1,    0,    1, 0, 0,    0,
                   0,   0,   16,   0, 0, 0, 0x13, 0x0B, 0,    0, 0x13, 0x0B, 0, 0, 2,    0,
                   0,   0,   0,    0, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0,    0,    0, 0, 0x00, 0,
                   0,   0,   0x40, 0, 0, 0, 0xA0, 0,    0,    0, 0xF0, 0,    0, 0}));
  r = run_import(dir.path(), "picture ramp.png --depth 2 --invert --pal b.pal -o b.bmp");
  EXPECT_EQ(r.out,
            "Wrote \"b.bmp\": 4 x 4 pixels, 4 bits, 4 grey levels for GREYMODE 4, no dithering, "
            "inverted\nWrote \"b.pal\": 4 colours, the palette in which tralk's palette mode "
            "keeps every pixel of \"b.bmp\"\n");
  const std::string b = TempDir::read(dir / "b.bmp");
  EXPECT_EQ(b.substr(46, 4), bytes({4, 0, 0, 0}));  // colours used
  EXPECT_EQ(b.substr(54, 16),
            bytes({0, 0, 0, 0, 85, 85, 85, 0, 170, 170, 170, 0, 255, 255, 255, 0}));
  EXPECT_EQ(b.substr(b.size() - 4), bytes({0x33, 0x32, 0, 0}));  // 3 3 3 2 inverted
  EXPECT_EQ(TempDir::read(dir / "b.pal"),
            "/* the colours of \"b.bmp\", index 0 first */\n{\n  {0, 0, 0},\n  {85, 85, 85},\n"
            "  {170, 170, 170},\n  {255, 255, 255}\n}\n");
}

// A picture of three colours, red on white with one blue pixel:
//   R R W
//   R B R
std::string icon() {
  PngLayout l;
  l.width = 3;
  l.height = 2;
  l.samples = {255, 0, 0, 255, 0, 0, 255, 255, 255, 255, 0, 0, 0, 0, 255, 255, 0, 0};
  return png_make(l);
}

// tralk's palette mode keeps every pixel with the palette --pal wrote, at
// each depth it reads palette indices from; an 8-bit picture needs a table
// and palette of 256 entries.
TEST(PictureGrey, PalRoundTripThroughTralk) {
  struct PalCase {
    const char* depth;
    size_t entries;
  };
  for (const PalCase& c : {PalCase{"4", 3}, PalCase{"8", 256}}) {
    const TempDir dir;
    dir.write("icon.png", icon());
    const RunResult r = run_import(
        dir.path(), std::string("picture icon.png --depth ") + c.depth + " --pal i.pal -o i.bmp");
    ASSERT_EQ(r.status, 0) << r.out;
    std::string out;
    const FontRecord f = tralk_symbol(dir, "i.pal\ni.bmp Icon\n", &out);
    EXPECT_NE(out.find("- All pixels converted sucessfully to default palette"), std::string::npos)
        << out;
    // The palette holds blue, red, white in that order: indices 2 is none.
    EXPECT_EQ(first_symbol_pixels(f), (Levels{{1, 1, 2}, {1, 0, 1}})) << c.depth;
    const std::string pal = TempDir::read(dir / "i.pal");
    EXPECT_EQ(std::count(pal.begin(), pal.end(), '{') - 1, static_cast<long>(c.entries)) << pal;
  }
}

// Two pictures: the ramp's 16 greys and the icon's red, white and blue.
TEST(PictureGrey, PaletteForSeveralPictures) {
  const TempDir dir;
  dir.write("ramp.png", ramp());
  dir.write("icon.png", icon());
  // Exact: the icon's colours in ascending order.
  RunResult r = run_import(dir.path(), "palette icon.png --colours 3 -o a.pal");
  EXPECT_EQ(r.out, "Wrote \"a.pal\": 3 colours, every colour of 1 picture\n");
  EXPECT_EQ(TempDir::read(dir / "a.pal"),
            "/* every colour of 1 picture */\n{\n  {0, 0, 255},\n  {255, 0, 0},\n"
            "  {255, 255, 255}\n}\n");
  // Median cut to 2 of the icon's 3: red has the widest range (0 to 255,
  // first of three equal ones); by red, blue (1 pixel) then red (4) and
  // white (1): blue alone reaches less than half of 6, blue and red more,
  // so the cut falls after red. Boxes {blue, red}: (255 * 4 / 5 rounded,
  // 0, 255 / 5) = (204, 0, 51); {white}.
  r = run_import(dir.path(), "palette icon.png --colours 2 -o b.pal");
  EXPECT_EQ(r.out, "Wrote \"b.pal\": 2 colours, median cut of the 3 colours of 1 picture\n");
  EXPECT_EQ(TempDir::read(dir / "b.pal"),
            "/* median cut of the 3 colours of 1 picture */\n{\n  {204, 0, 51},\n"
            "  {255, 255, 255}\n}\n");
  r = run_import(dir.path(), "palette icon.png ramp.png --colours 16 -o c.pal");
  EXPECT_EQ(r.out, "Wrote \"c.pal\": 16 colours, median cut of the 18 colours of 2 pictures\n");
  r = run_import(dir.path(), "palette icon.png missing.png --colours 16 -o d.pal");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out,
            "tralk-import palette: cannot read \"missing.png\": No such file or directory\n");
  r = run_import(dir.path(), "palette icon.png -o d.pal");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "tralk-import palette: no palette size given (--colours N)\n");
  EXPECT_FALSE(std::filesystem::exists(dir / "d.pal"));
}

// A PNG of 9000 x 9000 grey pixels, all 0, in about 80 KB: more pixels than
// the importer takes, though its data could hold them.
std::string bomb() {
  const uint32_t side = 9000;
  std::string raw(side + 1, '\0');
  z_stream z{};
  deflateInit(&z, Z_BEST_COMPRESSION);
  std::string idat;
  std::vector<unsigned char> buf(1 << 16);
  for (uint32_t y = 0; y <= side; ++y) {
    const bool last = y == side;
    z.next_in = reinterpret_cast<Bytef*>(raw.data());
    z.avail_in = last ? 0 : static_cast<uInt>(raw.size());
    do {
      z.next_out = buf.data();
      z.avail_out = static_cast<uInt>(buf.size());
      deflate(&z, last ? Z_FINISH : Z_NO_FLUSH);
      idat.append(reinterpret_cast<char*>(buf.data()), buf.size() - z.avail_out);
    } while (z.avail_out == 0);
  }
  deflateEnd(&z);
  auto be32 = [](uint32_t v) {
    return std::string{static_cast<char>(v >> 24), static_cast<char>(v >> 16),
                       static_cast<char>(v >> 8), static_cast<char>(v)};
  };
  auto chunk = [&](const std::string& type, const std::string& data) {
    const std::string body = type + data;
    return be32(static_cast<uint32_t>(data.size())) + body +
           be32(static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(body.data()),
                                            static_cast<uInt>(body.size()))));
  };
  return "\x89PNG\r\n\x1a\n" + chunk("IHDR", be32(side) + be32(side) + bytes({8, 0, 0, 0, 0})) +
         chunk("IDAT", idat) + chunk("IEND", "");
}

// Under a limit of 256 MiB of address space, where holding the picture
// would take 243 MB: refused from its head alone.
TEST(PictureGrey, BombRefusedBeforeMemoryIsTaken) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer reserves more address space than the limit";
#endif
  const TempDir dir;
  dir.write("bomb.png", bomb());
  const RunResult r =
      run_import(dir.path(), "picture bomb.png --depth 8 -o o.bmp", "ulimit -v 262144;");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out,
            "tralk-import picture: \"bomb.png\" is 9000 x 9000 pixels, more than the 67108864 "
            "(8192 x 8192) that tralk-import takes\n");
  EXPECT_FALSE(std::filesystem::exists(dir / "o.bmp"));
}

}  // namespace
