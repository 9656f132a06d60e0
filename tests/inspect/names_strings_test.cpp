// Font names from the C source beside an image, --text drawn in the
// terminal, and --strings: lines of a file checked against the fonts.
#include <gtest/gtest.h>

#include "inspect/inspect_helpers.h"
#include "inspect/text_picture.h"
#include "support/tempdir.h"

namespace {

using namespace tralk::inspector;
using inspect_test::decode_png;
using inspect_test::run_inspect_exe;

// bars.bin: symbol 0 a full 3 x 2 block (the default character, "?"),
// symbol 1 a left bar (U+00C0), symbol 2 a right bar (U+00C1); font name
// Bars. A second font, Dots, holds "?" (a dot) and "A".
void make_bars(const TempDir& dir) {
  dir.write("bars.sym",
            "// CP<bars.cp>\n{{3,2},{0xE0,0xE0}},\n{{3,2},{0x80,0x80}},\n{{3,2},{0x20,0x20}},\n");
  dir.write("bars.cp", "{2, 63},\n{\n  {63, 63, 0},\n  {192, 193, 1}\n}\n");
  dir.write("dots.sym", "// CP<dots.cp>\n{{2,2},{0x40,0x00}},\n{{2,2},{0xC0,0xC0}},\n");
  dir.write("dots.cp", "{2, 63},\n{\n  {63, 63, 0},\n  {65, 65, 1}\n}\n");
  dir.write("cfg.vfg", "bars.bin\nbars.sym Bars\ndots.sym Dots\n");
  ASSERT_EQ(run_tralk(dir.path(), "cfg.vfg").status, 0);
}

const char kTable[] =
    "Image \"bars.bin\": 132 bytes, 2 font blocks\n\n"
    "#  index  size  flags  numbits  width  height  symbols  bytes  cp index  ranges  sym index"
    "  name\n"
    "0      0    68      7        0      3       2        3      2        38       2         54"
    "  Bars\n"
    "1     68    64      7        0      2       2        2      2       106       2        122"
    "  Dots\n\n"
    "Codepages:\n"
    "  font block 0: default character 63, 2 ranges: {63, 63, 0}, {192, 193, 1}\n"
    "  font block 1: default character 63, 2 ranges: {63, 63, 0}, {65, 65, 1}\n\n"
    "Total 0x84, 132 bytes\n";

TEST(InspectNames, TableFontOptionAndTerminalText) {
  const TempDir dir;
  make_bars(dir);
  // One terminal line per pixel row: "ÁÀA" is a right bar, a left bar and
  // the full block of the default character.
  RunResult r = run_inspect_exe(dir.path(), "bars.bin --font Bars --text 'ÁÀA'");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, std::string(kTable) +
                       "\n..##..###\n..##..###\n3 characters, 1 through the default character\n"
                       "\nNo problems found\n");
  r = run_inspect_exe(dir.path(), "bars.bin --font Nope --text A");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "tralk-inspect: there is no font named \"Nope\" in \"bars.c\"\n");
  // A source that no longer matches (one symbol offset changed) names none.
  std::string c = TempDir::read(dir / "bars.c");
  c.replace(c.find("54,"), 3, "55,");
  dir.write("bars.c", c);
  r = run_inspect_exe(dir.path(), "bars.bin");
  EXPECT_EQ(r.out.find("name"), std::string::npos) << r.out;
  r = run_inspect_exe(dir.path(), "bars.bin --font Bars --text A");
  EXPECT_EQ(r.out,
            "tralk-inspect: font names need \"bars.c\", the C source tralk wrote with the image, "
            "beside it\n");
}

TEST(InspectStrings, CoveredAndUncoveredLines) {
  const TempDir dir;
  make_bars(dir);
  dir.write("ok.txt", "\xEF\xBB\xBF\xC3\x80\xC3\x81\r\n\n?\n");  // "ÀÁ", "?"
  RunResult r = run_inspect_exe(dir.path(), "bars.bin --font 0 --strings ok.txt --png ok.png");
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.out, std::string(kTable) +
                       "\nStrings \"ok.txt\": 2 lines, 3 characters\n  font block 0 (Bars): "
                       "every character\nStrings picture \"ok.png\": 85 x 83 pixels, scale 8\n"
                       "\nNo problems found\n");
  // Every font with a codepage: Bars lacks "A", Dots lacks "À" and "Á".
  dir.write("ui.txt", "A?\n\xC3\x80\xC3\x81\n");
  r = run_inspect_exe(dir.path(), "bars.bin --strings ui.txt --png ui.png --scale 1");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out,
            std::string(kTable) +
                "\nStrings \"ui.txt\": 2 lines, 4 characters\n"
                "  font block 0 (Bars): 1 character falls to the default character:\n"
                "    U+0041 \"A\":\n      ui.txt:1: \"A?\"\n"
                "  font block 1 (Dots): 2 characters fall to the default character:\n"
                "    U+00C0 \"\xC3\x80\":\n      ui.txt:2: \"\xC3\x80\xC3\x81\"\n"
                "    U+00C1 \"\xC3\x81\":\n      ui.txt:2: \"\xC3\x80\xC3\x81\"\n"
                "Strings picture \"ui.png\": 39 x 66 pixels, scale 1\n\nNo problems found in the "
                "image, but not every string passes the check\n");
  // Each font under its label (9 rows and the gap of 4 at scale 1), its
  // strings 4 apart. Bars first: "A" fell to the full block, framed in
  // red; "?" is the full block itself, in black.
  const std::string png = TempDir::read(dir / "ui.png");
  const RgbPicture img = decode_png(png.data(), png.size());
  const uint32_t m = kSheetMargin, bars = m + 9 + kSheetLabelGap;
  EXPECT_TRUE(img.at(m, m) == kSheetLabelColour);  // the B of "Bars"
  EXPECT_TRUE(img.at(m, bars) == kFellBackMark);
  EXPECT_TRUE(img.at(m + 3, bars) == (RGBTRIPLET{0, 0, 0}));
  // Dots' strings below: line 2 drawn from the dot of "?" twice, framed.
  const uint32_t dots = bars + 2 * (2 + kSheetGap) - kSheetGap + kSheetRowGap + 9 + kSheetLabelGap;
  EXPECT_TRUE(img.at(m, dots + 2 + kSheetGap) == kFellBackMark);
  EXPECT_TRUE(img.at(m, dots - kSheetLabelGap - 9) == kSheetLabelColour);  // the D of "Dots"
  dir.write("bad.txt", "ok\n\xFF\n");
  r = run_inspect_exe(dir.path(), "bars.bin --strings bad.txt --png b.png");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.out.find("tralk-inspect: line 2 of \"bad.txt\" is not UTF-8 text\n"),
            std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir / "b.png"));
}

}  // namespace
