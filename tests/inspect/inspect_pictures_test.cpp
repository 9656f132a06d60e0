// The inspector's pictures as a user makes them: each block drawn in its own
// colour model (a palette picture in its palette beside grey fonts), and a
// picture that cannot be written failing with the system's reason and
// leaving the old file as it was.
#include <gtest/gtest.h>

#include <string>

#include "inspect/inspect_helpers.h"
#include "support/bmp_builder.h"
#include "support/tempdir.h"

namespace {

using namespace tralk::inspector;
using inspect_test::decode_png;
using inspect_test::run_inspect_exe;

constexpr RGBTRIPLET kRed{255, 0, 0};
constexpr RGBTRIPLET kBlue{0, 0, 255};
constexpr RGBTRIPLET kWhite{255, 255, 255};
constexpr RGBTRIPLET kBlack{0, 0, 0};

RGBTRIPLET grey(uint8_t v) {
  return {v, v, v};
}

// ui.bin: grey4, a 4-bit grey font of two symbols with a codepage (the
// first's row levels 0, 1, 2); flag, a 4-bit picture converted through p.pal to the
// indices 2, 3, 1 (red, blue, white); col8, an 8-bit font of two symbols,
// the first's values 0 and 255.
void make_ui(const TempDir& dir) {
  dir.write("grey4.sym",
            "// CP<grey4.cp>\n"
            "{{0,4,3,1},{0x01,0x20}},\n"
            "{{0,4,3,1},{0xFF,0xF0}}\n");
  dir.write("grey4.cp", "{1, 65},\n{\n  {65, 66, 0}\n}\n");
  dir.write("col8.sym", "{{0,8,2,1},{0x00,0xFF}},\n{{0,8,2,1},{0xFF,0x00}}\n");
  dir.write("p.pal", "{ {0}, {255}, {255, 0, 0}, {0, 0, 255} }\n");
  BmpLayout flag;
  flag.bits = 4;
  flag.width = 3;
  flag.colours = {{0, 0, 0}, {255, 255, 255}, {255, 0, 0}, {0, 0, 255}};
  flag.colours_used = 4;
  flag.rows = {{0x23, 0x10}};
  write_bytes(dir / "flag.bmp", bmp_build(flag));
  dir.write("ui.vfg", "ui.bin\np.pal\ngrey4.sym\nflag.bmp\ncol8.sym\n");
  const RunResult r = run_tralk(dir.path(), "ui.vfg");
  ASSERT_EQ(r.status, 0) << r.out;
}

TEST(InspectPictures, EachBlockInItsOwnColourModel) {
  TempDir dir;
  make_ui(dir);
  const struct {
    const char* options;
    RGBTRIPLET font[3];     // grey4's first row
    RGBTRIPLET picture[3];  // flag's row
    RGBTRIPLET col8[2];
  } cases[] = {
      // Without a palette the picture's indices are grey levels (2 bits).
      {"",
       {grey(0), grey(17), grey(34)},
       {grey(170), grey(255), grey(85)},
       {kBlack, {252, 252, 240}}},
      {"--pal p.pal",
       {grey(0), grey(17), grey(34)},
       {kRed, kBlue, kWhite},
       {kBlack, {252, 252, 240}}},
      {"--pal p.pal --grey",
       {grey(0), grey(17), grey(34)},
       {kRed, kBlue, kWhite},
       {kBlack, kWhite}},
  };
  for (const auto& c : cases) {
    const RunResult r =
        run_inspect_exe(dir.path(), std::string(c.options) + " --scale 1 --png sheet.png ui.bin");
    ASSERT_EQ(r.status, 0) << c.options << "\n" << r.out;
    const std::string bytes = TempDir::read(dir / "sheet.png");
    const RgbPicture img = decode_png(bytes.data(), bytes.size());
    // At scale 1 a label takes 9 rows and the gap below it 4.
    const uint32_t m = kSheetMargin, head = 9 + kSheetLabelGap;
    const uint32_t row0 = m + head, row1 = row0 + 1 + kSheetRowGap + head,
                   row2 = row1 + 1 + kSheetRowGap + head;
    for (uint32_t x = 0; x < 3; ++x) {
      EXPECT_TRUE(img.at(m + x, row0) == c.font[x]) << c.options << ": font pixel " << x;
      EXPECT_TRUE(img.at(m + x, row1) == c.picture[x]) << c.options << ": picture pixel " << x;
    }
    for (uint32_t x = 0; x < 2; ++x)
      EXPECT_TRUE(img.at(m + x, row2) == c.col8[x]) << c.options << ": col8 pixel " << x;
  }
  // The terminal says how each block is read.
  for (const auto& [block, reading] : {std::pair{0, "grey levels"}, std::pair{1, "palette indices"},
                                       std::pair{2, "grey levels"}}) {
    const RunResult r = run_inspect_exe(
        dir.path(), "--pal p.pal --grey --show " + std::to_string(block) + " ui.bin");
    EXPECT_NE(r.out.find(std::string(", read as ") + reading + "\n"), std::string::npos) << r.out;
  }
}

size_t files_in(const TempDir& dir) {
  size_t n = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir.path())) n += !e.is_directory();
  return n;
}

TEST(InspectPictures, WriteFailuresGiveTheSystemsReason) {
  TempDir dir;
  make_ui(dir);
  dir.write("old.png", "old bytes");
  std::filesystem::create_directory(dir / "folder.png");
  std::string shim;
#ifdef TRALK_FAULT_SHIM
  shim = std::string("LD_PRELOAD=") + TRALK_FAULT_SHIM +
         " ASAN_OPTIONS=verify_asan_link_order=0:detect_leaks=0 TRALK_FAULT=write:1:ENOSPC ";
#endif
  const struct {
    std::string command;
    const char* message;
  } cases[] = {
      {"--png nodir/a.png", "cannot write \"nodir/a.png\": No such file or directory"},
      {"--png folder.png", "cannot write \"folder.png\": it is a folder"},
      {"--font 0 --text A --png nodir/t.png",
       "cannot write \"nodir/t.png\": No such file or directory"},
      {"--font 0 --text A --png folder.png", "cannot write \"folder.png\": it is a folder"},
  };
  for (const auto& c : cases) {
    const RunResult r = run_inspect_exe(dir.path(), c.command + " ui.bin");
    EXPECT_EQ(r.status, 2) << c.command;
    EXPECT_NE(r.out.find(std::string("\ntralk-inspect: ") + c.message + "\n"), std::string::npos)
        << c.command << "\n"
        << r.out;
  }
  if (shim.empty()) GTEST_SKIP() << "a full disk is made with the fault library (Linux)";
  const size_t before = files_in(dir);
  // A full disk, for the contact sheet and the text picture: the old file
  // stays, and no temporary is left.
  for (const char* options : {"--png old.png", "--font 0 --text A --png old.png"}) {
    const RunResult r = run_command(
        dir.path(), shim + shell_quote(TRALK_INSPECT_EXE) + " " + options + " ui.bin 2>&1");
    EXPECT_EQ(r.status, 2) << options;
    EXPECT_NE(r.out.find("\ntralk-inspect: cannot write \"old.png\": No space left on device\n"),
              std::string::npos)
        << options << "\n"
        << r.out;
    EXPECT_EQ(TempDir::read(dir / "old.png"), "old bytes");
    EXPECT_EQ(files_in(dir), before) << options;
  }
}

}  // namespace
