// Pictures in configurations: the default palette search, grey mode and the
// palette loaded by a configuration line, seen from the console and the image.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/bmp_builder.h"
#include "support/run_tralk.h"
#include "support/tempdir.h"

namespace fs = std::filesystem;

namespace {

const char kBanner[] = "\nVFONT GENERATOR  V1.2\nOpen configuration file: cfg.vfg OK\n";
const char kSkipped[] = "\nSkipping config file processing due to errors\n\nPress a key to Exit\n";

// A 4-bit picture 2 x 1 using table entries 0 and 1 (black, white).
std::vector<uint8_t> four_bit_picture() {
  BmpLayout layout;
  layout.bits = 4;
  layout.width = 2;
  layout.height = 1;
  layout.colours.assign(16, {7, 7, 7});
  layout.colours[0] = {0, 0, 0};
  layout.colours[1] = {255, 255, 255};
  layout.rows = {{0x01}};
  return bmp_build(layout);
}

// A 24-bit picture 1 x 1 of pure green.
std::vector<uint8_t> green_pixel() {
  BmpLayout layout;
  layout.rows = {{0, 255, 0}};
  return bmp_build(layout);
}

struct Case {
  const char* config;
  bool default_palette;  // gcolor_4.pal beside the configuration
  std::string output;    // after the banner; "<DIR>" is the run's directory
  int status;
};

TEST(Pictures, DefaultPaletteAndGreyMode) {
  const std::string open_error = "\n Open error in pal file \"<DIR>/gcolor_4.pal\"";
  const std::string load = "\n Loading file to font: \"<DIR>/";
  const std::string start = "\nDefining virtual font: \"p.bin\" ID=0";
  const std::string written =
      "\n\nCreating VFONT files\n Source file: \"<DIR>/p.c\"\n Header file: \"<DIR>/p.h\"\n "
      "VFONT image: \"<DIR>/p.bin\"\n  Size 0x";
  const Case cases[] = {
      // Without a palette every picture entry searches again; 24-bit pictures need none.
      {"p.bin\ng.bmp\ng.bmp again\n", false,
       (start + open_error + load + "g.bmp\"\n OK" + open_error + load + "g.bmp\"\n OK" + written +
        "58, 88 \n\n\nNo errors detected. Done\n"),
       0},
      // A 4-bit picture without palette cannot be converted.
      {"p.bin\nf.bmp\n", false,
       (start + open_error + load +
        "f.bmp\"Color conversion parameter error\n- Error detected during bmp to font load "
        "\"<DIR>/f.bmp\"" +
        kSkipped),
       255},
      // Grey mode needs no palette and never searches for one.
      {"GREYMODE 16\np.bin\nf.bmp\n", false,
       ("\n GREYMODE = 16" + start + load + "f.bmp\"\n OK" + written +
        "2c, 44 \n\n\nNo errors detected. Done\n"),
       0},
      // The default palette is found once and kept for the rest of the run.
      {"p.bin\nf.bmp\nf.bmp again\n", true,
       (start + load + "f.bmp\"\n - All pixels converted sucessfully to default palette\n OK" +
        load + "f.bmp\"\n - All pixels converted sucessfully to default palette\n OK" + written +
        "58, 88 \n\n\nNo errors detected. Done\n"),
       0},
      // A palette named in the configuration replaces the default search.
      {"mine.pal\np.bin\nf.bmp\n", false,
       ("\n Default bmp pallette: \"<DIR>/mine.pal\" OK" + start + load +
        "f.bmp\"\n - 1 pixels set to default during color conversion\n OK" + written +
        "2c, 44 \n\n\nNo errors detected. Done\n"),
       0},
      {"p.bin\nnone*.bmp\n", true,
       (start + "\n- Failed to open bmp file \"<DIR>/none*.bmp\"" + kSkipped), 255},
  };
  for (const Case& c : cases) {
    TempDir dir;
    dir.write("cfg.vfg", c.config);
    write_bytes(dir.path() / "f.bmp", four_bit_picture());
    write_bytes(dir.path() / "g.bmp", green_pixel());
    dir.write("mine.pal", "{{255},{1,2,3}}");  // white only: black has no match
    if (c.default_palette) dir.write("gcolor_4.pal", "{{0},{255},{255,0,0},{0,0,255}}");
    RunResult r = run_tralk(dir.path(), "cfg.vfg");
    EXPECT_EQ(r.out, kBanner + with_dir(c.output, dir.path())) << c.config;
    EXPECT_EQ(r.status, c.status) << c.config;
  }
}

TEST(Pictures, ConvertedPixelsReachTheImage) {
  struct {
    const char* config;
    std::vector<uint8_t> symbol;  // the stored symbol: width, then pixel bytes
    uint8_t numbits;
  } cases[] = {
      {"GREYMODE 256\np.bin\nf.bmp\n", {2, 0, 0x00, 0xFF}, 8},  // black, white as grey values
      {"GREYMODE 4\np.bin\nf.bmp\n", {2, 0, 0x30}, 2},          // levels 0 and 3
      {"p.bin\nf.bmp\n", {2, 0, 0x10}, 2},                      // palette indices 0 and 1
      {"p.bin\ng.bmp\n", {1, 0, 0x07, 0xE0}, 16},               // 5-6-5 green, high byte first
  };
  for (const auto& c : cases) {
    TempDir dir;
    dir.write("cfg.vfg", c.config);
    dir.write("gcolor_4.pal", "{{0},{255},{255,0,0},{0,0,255}}");
    write_bytes(dir.path() / "f.bmp", four_bit_picture());
    write_bytes(dir.path() / "g.bmp", green_pixel());
    RunResult r = run_tralk(dir.path(), "cfg.vfg");
    ASSERT_EQ(r.status, 0) << r.out;
    const std::string image = TempDir::read(dir.path() / "p.bin");
    ASSERT_GE(image.size(), 38 + c.symbol.size()) << c.config;
    EXPECT_EQ(static_cast<uint8_t>(image[7]), c.numbits) << c.config;
    EXPECT_EQ(image.substr(38, c.symbol.size()), std::string(c.symbol.begin(), c.symbol.end()))
        << c.config;
  }
}

TEST(Pictures, RunLengthAndThirtyTwoBitPicturesThroughAWholeRun) {
  // 3 x 2, RLE8: a run of red, a white pixel; an absolute run of black,
  // white, red. Its colour table is not the palette's 256, so its pixels
  // become 3-3-2 colour.
  BmpLayout rle;
  rle.bits = 8;
  rle.width = 3;
  rle.height = 2;
  rle.compression = 1;
  rle.colours.assign(256, {7, 7, 7});
  rle.colours[0] = {0, 0, 0};
  rle.colours[1] = {255, 255, 255};
  rle.colours[2] = {255, 0, 0};
  rle.data = {2, 2, 1, 1, 0, 0, 0, 3, 0, 1, 2, 0, 0, 1};
  // 2 x 1, 32 bits with masks and an opaque alpha channel: red, blue.
  BmpLayout argb;
  argb.bits = 32;
  argb.width = 2;
  argb.height = 1;
  argb.compression = 3;
  argb.info_size = 124;
  argb.masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
  argb.rows = {{0, 0, 255, 255, 255, 0, 0, 255}};

  TempDir dir;
  dir.write("cfg.vfg", "p.bin\nr.bmp\nw.bmp\n");
  dir.write("gcolor_4.pal", "{{0},{255},{255,0,0},{0,0,255}}");
  dir.write("r.bmp", bmp_build(rle));
  dir.write("w.bmp", bmp_build(argb));
  const RunResult r = run_tralk(dir.path(), "cfg.vfg");
  EXPECT_EQ(r.out, kBanner + with_dir("\nDefining virtual font: \"p.bin\" ID=0"
                                      "\n Loading file to font: \"<DIR>/r.bmp\"\n OK"
                                      "\n Loading file to font: \"<DIR>/w.bmp\"\n OK"
                                      "\n\nCreating VFONT files\n Source file: \"<DIR>/p.c\""
                                      "\n Header file: \"<DIR>/p.h\"\n VFONT image: \"<DIR>/p.bin\""
                                      "\n  Size 0x5c, 92 \n\n\nNo errors detected. Done\n",
                                      dir.path()));
  EXPECT_EQ(r.status, 0);
  const std::string image = TempDir::read(dir.path() / "p.bin");
  ASSERT_EQ(image.size(), 92u);
  // Each block: its size, 8 bits per pixel (3-3-2) or 16 (5-6-5), then after
  // the 38-byte header the symbol's width and its pixel rows, top row first.
  EXPECT_EQ(image.substr(0, 4), std::string("\x30\0\0\0", 4));
  EXPECT_EQ(image[7], 8);
  EXPECT_EQ(image.substr(38, 8), std::string("\x03\0\0\xFF\xE0\xE0\xE0\xFF", 8));
  EXPECT_EQ(image.substr(48, 4), std::string("\x2C\0\0\0", 4));
  EXPECT_EQ(image[48 + 7], 16);
  EXPECT_EQ(image.substr(48 + 38, 6), std::string("\x02\0\xF8\0\0\x1F", 6));
}

}  // namespace
