// The inspector program run on images that tralk wrote from the tests' own
// inputs: its table, its text art, its contact sheet and its exit statuses.
#include <gtest/gtest.h>

#include <cstdio>

#include "base/text.h"
#include "inspect/inspect_helpers.h"
#include "support/tempdir.h"

namespace {

using namespace tralk::inspector;
using inspect_test::decode_png;
using inspect_test::run_inspect_exe;

const std::vector<uint8_t> kGlyphA = {0x18, 0x24, 0x42, 0x7E, 0x42, 0x42, 0x00};
const std::vector<uint8_t> kGrey = {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB};
constexpr RGBTRIPLET kBlack{0, 0, 0};
constexpr RGBTRIPLET kWhite{255, 255, 255};

// An image of four fonts: b&w with a codepage, 4-bit proportional, 16-bit
// and 24-bit colour. Returns the size that tralk printed.
std::string make_image(const TempDir& dir) {
  dir.write("bw.sym",
            "// CP<bw.cp>\n"
            "{{8,7},{0x18,0x24,0x42,0x7E,0x42,0x42,0x00}},\n"
            "{{8,7},{0x7C,0x42,0x7C,0x42,0x42,0x7C,0x00}},\n");
  dir.write("bw.cp", "{1, 65},\n{\n  {65, 66, 0}\n}\n");
  dir.write("grey4.sym",
            "{{0,4,6,2},{0x01,0x23,0x45,0x67,0x89,0xAB}},\n"
            "{{0,4,5,2},{0x12,0x30,0x00,0x45,0x60,0x00}}\n");
  dir.write("col16.sym", "{{0,16,2,1},{0xF8,0x00,0x07,0xE0}}\n");
  dir.write("col24.sym", "{{0,24,1,2},{0x12,0x34,0x56,0xFF,0x00,0x80}}\n");
  dir.write("cfg.vfg", "img.bin\nbw.sym\ngrey4.sym\ncol16.sym\ncol24.sym\n");
  const RunResult r = run_tralk(dir.path(), "cfg.vfg");
  EXPECT_EQ(r.status, 0) << r.out;
  // "Size 0x%lx, %lu " as the generator prints it.
  const size_t at = r.out.find("Size 0x");
  unsigned long hex = 0, dec = 0;
  EXPECT_TRUE(at != std::string::npos &&
              std::sscanf(r.out.c_str() + at, "Size 0x%lx, %lu ", &hex, &dec) == 2)
      << r.out;
  return "Total 0x" + strf("%lx", hex) + ", " + std::to_string(dec) + " bytes\n";
}

TEST(InspectProgram, TableMatchesTheGeneratedImage) {
  TempDir dir;
  const std::string total = make_image(dir);
  EXPECT_EQ(total, "Total 0xd8, 216 bytes\n");
  const RunResult r = run_inspect_exe(dir.path(), "img.bin");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(
      r.out,
      "Image \"img.bin\": 216 bytes, 4 font blocks\n"
      "\n"
      "#  index  size  flags  numbits  width  height  symbols  bytes  cp index  ranges  sym index"
      "   name\n"
      "0      0    68      7        0      8       7        2      7        38       1         48"
      "     bw\n"
      "1     68    56      3        4      6       2        2      6         -       -        106"
      "  grey4\n"
      "2    124    44      3       16      2       1        1      4         -       -        162"
      "  col16\n"
      "3    168    48      3       24      1       2        1      6         -       -        206"
      "  col24\n"
      "\n"
      "Codepages:\n"
      "  font block 0: default character 65, 1 range: {65, 66, 0}\n"
      "\n" +
          total + "\nNo problems found\n");
}

TEST(InspectProgram, ShowsKnownGlyphs) {
  TempDir dir;
  make_image(dir);
  RunResult r = run_inspect_exe(dir.path(), "--show 0 img.bin");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("\nSymbol 0, width 8:\n...##...\n..#..#..\n.#....#.\n.######.\n"
                       ".#....#.\n.#....#.\n........\n"),
            std::string::npos)
      << r.out;
  r = run_inspect_exe(dir.path(), "--show 1 img.bin");
  EXPECT_NE(r.out.find("read as grey levels\n\nSymbol 0, width 6:\n@%%##*\n*++==-\n"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("\nSymbol 1, width 5:\n%%#@@\n"), std::string::npos) << r.out;
  r = run_inspect_exe(dir.path(), "--show 3 img.bin");
  EXPECT_NE(r.out.find("\x1b[48;2;18;52;86m  \x1b[0m\n\x1b[48;2;255;0;128m  \x1b[0m\n"),
            std::string::npos)
      << r.out;
  r = run_inspect_exe(dir.path(), "--show 4 img.bin");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "tralk-inspect: there is no font block 4; the image has 4 (numbered from 0)\n");
}

RgbPicture read_png_file(const TempDir& dir, const std::string& name) {
  const std::string bytes = TempDir::read(dir.file(name));
  if (bytes.empty()) {
    ADD_FAILURE() << name << " was not written";
    return {};
  }
  return decode_png(bytes.data(), bytes.size());
}

// Colour of pixel (x, y) of a symbol whose top left is at (left, top) on a
// sheet of scale s.
RGBTRIPLET at(const RgbPicture& img, uint32_t left, uint32_t top, uint32_t s, uint32_t x,
              uint32_t y) {
  return img.at(left + x * s, top + y * s);
}

TEST(InspectProgram, ContactSheetHoldsTheInputSymbols) {
  TempDir dir;
  make_image(dir);
  const RunResult r = run_inspect_exe(dir.path(), "--png sheet.png --scale 2 img.bin");
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("\nContact sheet \"sheet.png\": 52 x 116 pixels, scale 2\n"),
            std::string::npos)
      << r.out;
  const RgbPicture img = read_png_file(dir, "sheet.png");
  ASSERT_EQ(img.width, 52u);
  ASSERT_EQ(img.height, 116u);
  // Each font under its label (at scale 1: 9 rows and the gap of 4).
  const uint32_t m = kSheetMargin, s = 2, head = 9 + kSheetLabelGap;
  const uint32_t row0 = m + head, row1 = row0 + 7 * s + kSheetRowGap + head;
  const uint32_t row2 = row1 + 2 * s + kSheetRowGap + head;
  const uint32_t row3 = row2 + 1 * s + kSheetRowGap + head;
  for (uint32_t y = 0; y < 7; ++y)
    for (uint32_t x = 0; x < 8; ++x)
      EXPECT_TRUE(at(img, m, row0, s, x, y) == ((kGlyphA[y] >> (7 - x)) & 1 ? kBlack : kWhite))
          << x << "," << y;
  // The first label is the name in img.c, "bw": the b's stem, white, and
  // the blank column between the b and the w.
  for (uint32_t y = 0; y < 7; ++y) {
    EXPECT_TRUE(img.at(m, m + y) == kWhite) << y;
    EXPECT_TRUE(img.at(m + 5, m + y) == kSheetBackground) << y;
  }
  EXPECT_TRUE(img.at(m + 1, m) == kSheetBackground);
  for (uint32_t y = 0; y < 2; ++y)
    for (uint32_t x = 0; x < 6; ++x) {
      const uint8_t byte = kGrey[y * 3 + x / 2];
      const auto v = static_cast<uint8_t>(((x % 2) ? byte & 0xF : byte >> 4) * 17);
      EXPECT_TRUE(at(img, m, row1, s, x, y) == (RGBTRIPLET{v, v, v})) << x << "," << y;
    }
  // The second 4-bit symbol is 5 pixels wide: background right after it.
  const uint32_t second = m + 6 * s + kSheetGap;
  EXPECT_TRUE(at(img, second, row1, s, 0, 0) == (RGBTRIPLET{17, 17, 17}));
  EXPECT_TRUE(at(img, second, row1, s, 5, 0) == kSheetBackground);
  EXPECT_TRUE(at(img, m, row2, s, 0, 0) == (RGBTRIPLET{255, 0, 0}));
  EXPECT_TRUE(at(img, m, row2, s, 1, 0) == (RGBTRIPLET{0, 255, 0}));
  EXPECT_TRUE(at(img, m, row3, s, 0, 0) == (RGBTRIPLET{0x12, 0x34, 0x56}));
  EXPECT_TRUE(at(img, m, row3, s, 0, 1) == (RGBTRIPLET{0xFF, 0x00, 0x80}));
}

TEST(InspectProgram, OneFontAndAPaletteThatLeavesItGrey) {
  TempDir dir;
  make_image(dir);
  dir.write("p.pal", "{ {0}, {255}, {255, 0, 0}, {0, 0, 255} }\n");
  const RunResult r =
      run_inspect_exe(dir.path(), "--pal p.pal --font 1 --scale 1 --png one.png img.bin");
  EXPECT_EQ(r.status, 0) << r.out;
  const RgbPicture img = read_png_file(dir, "one.png");
  // The label "grey4" (5 characters, 29 pixels) is wider than the symbols.
  ASSERT_EQ(img.width, kSheetMargin * 2 + 29);
  ASSERT_EQ(img.height, kSheetMargin * 2 + 9 + kSheetLabelGap + 2);
  // A font of two symbols is no picture: its levels 0 to 4 stay grey.
  const uint32_t m = kSheetMargin, top = m + 9 + kSheetLabelGap;
  for (uint32_t x = 0; x < 5; ++x) {
    const auto v = static_cast<uint8_t>(17 * x);
    EXPECT_TRUE(img.at(m + x, top) == (RGBTRIPLET{v, v, v})) << x;
  }
}

TEST(InspectProgram, CommandLineErrors) {
  TempDir dir;
  make_image(dir);
  struct Case {
    const char* args;
    int status;
    const char* out;
  };
  const char kTry[] = "\nTry \"tralk-inspect --help\".\n";
  const Case cases[] = {
      {"", 2, "no image file given"},
      {"--bogus img.bin", 2, "unknown option \"--bogus\""},
      {"img.bin --show", 2, "option --show needs a value"},
      {"--show x img.bin", 2, "option --show needs a number, not \"x\""},

      {"img.bin other.bin", 2, "more than one image file given (\"img.bin\" and \"other.bin\")"},
      {"--font 0 img.bin", 2, "--font needs --png, --text or --strings"},
      {"--font 0 --font 1 --png a.png img.bin", 2,
       "--font can be given more than once only with --strings"},
      {"--strings s.txt --text A --font 0 --png a.png img.bin", 2,
       "--text and --strings cannot be used together"},
      {"--scale 2 img.bin", 2, "--scale needs --png"},
      {"--scale 65 --png a.png img.bin", 2, "--scale must be 1 to 64"},
      // Given twice: refused, but --font and --strings (strings_check_test).
      {"--show 0 --show 1 img.bin", 2, "option --show is given twice"},
      {"--png a.png img.bin --png b.png", 2, "option --png is given twice"},
      {"--font 0 --text A --text B img.bin", 2, "option --text is given twice"},
      {"--grey --pal p.pal --grey img.bin", 2, "option --grey is given twice"},
      {"--at 0 --at 8 img.bin", 2, "option --at is given twice"},
      {"-h --help", 2, "option --help is given twice"},
  };
  for (const Case& c : cases) {
    const RunResult r = run_inspect_exe(dir.path(), c.args);
    EXPECT_EQ(r.status, c.status) << c.args;
    EXPECT_EQ(r.out, std::string("tralk-inspect: ") + c.out + kTry) << c.args;
  }
  RunResult r = run_inspect_exe(dir.path(), "missing.bin");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "tralk-inspect: cannot read \"missing.bin\": No such file or directory\n");
  r = run_inspect_exe(dir.path(), "--pal missing.pal img.bin");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.out.find("tralk-inspect: cannot use palette \"missing.pal\"\n"), std::string::npos)
      << r.out;
  r = run_inspect_exe(dir.path(), "--png no/dir/a.png img.bin");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.out.find("tralk-inspect: cannot write \"no/dir/a.png\": No such file or directory\n"),
            std::string::npos);

  r = run_inspect_exe(dir.path(), "--help");
  EXPECT_EQ(r.status, 0);
  for (const char* option : {"--show N", "--png FILE", "--font F", "--strings FILE", "--scale K",
                             "--pal FILE", "--grey", "--help", "3-3-2", "5-6-5", "Exit status"})
    EXPECT_NE(r.out.find(option), std::string::npos) << option;
}

TEST(InspectProgram, CorruptImagesExitWithProblems) {
  TempDir dir;
  make_image(dir);
  const std::string image = TempDir::read(dir.file("img.bin"));
  dir.write("cut.bin", image.substr(0, 110));
  RunResult r = run_inspect_exe(dir.path(), "--png cut.png cut.bin");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("problems found:\n  storage index 68, block size: 56 overruns the image: "
                       "42 bytes are left from this block on; the walk stops here\n"),
            std::string::npos)
      << r.out;
  // The symbols that are whole are still drawn, at scale 6 under a label
  // at scale 2.
  EXPECT_EQ(read_png_file(dir, "cut.png").height,
            kSheetMargin * 2 + 9 * 2 + kSheetLabelGap + 7 * 6);

  std::string flipped = image;
  flipped[68] ^= 0x02;
  dir.write("flip.bin", flipped);
  r = run_inspect_exe(dir.path(), "flip.bin");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("  storage index 68, block size: 58 is not a multiple of 4; read as the 56 "
                       "bytes its contents take\n"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("\n3    168    48"), std::string::npos) << r.out;  // the walk goes on

  dir.write("empty.bin", "");
  r = run_inspect_exe(dir.path(), "empty.bin");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("storage index 0, image: empty: no font blocks\n"), std::string::npos);
}

}  // namespace
