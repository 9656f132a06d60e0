// Text drawn through a font's codepage: which symbols a text becomes, and
// the picture of them, pixel by pixel, for the tests' own glyphs.
#include "inspect/text_picture.h"

#include <gtest/gtest.h>

#include "inspect/inspect_helpers.h"
#include "support/tempdir.h"

namespace {

using namespace tralk::inspector;
using inspect_test::build_image;
using inspect_test::decode_png;
using inspect_test::inspect;
using inspect_test::make_font;
using inspect_test::run_inspect_exe;

// Three b&w symbols 3 x 2: a full block, a left bar and a right bar.
const std::vector<std::vector<uint8_t>> kBars = {{0xE0, 0xE0}, {0x80, 0x80}, {0x20, 0x20}};

InspectResult bar_font(const std::vector<inspect_test::Range>& ranges, uint16_t defchar) {
  SymFontPtr f = make_font(0, 2, {3, 3, 3}, kBars, ranges, defchar);
  return inspect(build_image({f.get()}));
}

TEST(InspectTextPicture, CodesBecomeSymbolsThroughTheCodepage) {
  struct Case {
    const char* what;
    std::vector<inspect_test::Range> ranges;
    uint16_t defchar;
    std::vector<uint32_t> codes;
    std::vector<std::vector<size_t>> lines;
    size_t defaulted, dropped;
  };
  const Case cases[] = {
      {"two ranges", {{65, 66, 0}, {97, 97, 2}}, 65, {66, 97, 65}, {{1, 2, 0}}, 0, 0},
      {"unknown codes", {{65, 66, 0}, {97, 97, 2}}, 97, {67, 0x10000, 65}, {{2, 2, 0}}, 2, 0},
      {"line feeds", {{65, 67, 0}}, 65, {65, 10, 10, 67}, {{0}, {}, {2}}, 0, 0},
      {"first matching range wins", {{65, 65, 1}, {65, 66, 0}}, 66, {65}, {{1}}, 0, 0},
      {"range past the symbols", {{65, 70, 0}}, 65, {69, 66}, {{0, 1}}, 1, 0},
      {"default character in no range", {{65, 66, 0}}, 90, {67, 66}, {{1}}, 1, 1},
  };
  for (const Case& c : cases) {
    const InspectResult r = bar_font(c.ranges, c.defchar);
    const TextSymbols t = text_symbols(r.fonts.at(0), c.codes);
    EXPECT_EQ(t.lines, c.lines) << c.what;
    EXPECT_EQ(t.defaulted, c.defaulted) << c.what;
    EXPECT_EQ(t.dropped, c.dropped) << c.what;
  }
}

TEST(InspectTextPicture, SymbolsSideBySideAtTheirWidths) {
  SymFontPtr f = make_font(4, 1, {1, 3}, {{0x00, 0x00}, {0x0F, 0x70}}, {{65, 66, 0}}, 65);
  const InspectResult r = inspect(build_image({f.get()}));
  const TextSymbols t = text_symbols(r.fonts.at(0), {66, 65, 10, 65});
  const Outcome<TextPicture> drawn = draw_text(r.fonts.at(0), t, 2, {});
  ASSERT_TRUE(drawn.ok()) << drawn.error();
  EXPECT_EQ(drawn->scale, 2u);
  const RgbPicture& img = drawn->picture;
  const uint32_t m = kSheetMargin;
  ASSERT_EQ(img.width, 2 * m + 4 * 2);
  ASSERT_EQ(img.height, 2 * m + 2 * 2);
  // Line 1: B (grey levels 0, 15, 7) then A (level 0); line 2: A.
  const uint8_t want[2][4] = {{0, 255, 119, 0}, {0, 96, 96, 96}};
  for (uint32_t y = 0; y < 2; ++y)
    for (uint32_t x = 0; x < 4; ++x) {
      const uint8_t v = want[y][x];
      const RGBTRIPLET got = img.at(m + 2 * x + 1, m + 2 * y + 1);
      const RGBTRIPLET expect = (y == 1 && x > 0) ? kSheetBackground : RGBTRIPLET{v, v, v};
      EXPECT_TRUE(got == expect) << x << "," << y << ": " << int(got.r);
    }
}

TEST(InspectTextPicture, ProgramDrawsTextInTheCodepageEncoding) {
  TempDir dir;
  dir.write("bars.sym",
            "// CP<bars.cp>\n{{3,2},{0xE0,0xE0}},\n{{3,2},{0x80,0x80}},\n{{3,2},{0x20,0x20}},\n");
  dir.write("bars.cp", "{2, 63},\n{\n  {63, 63, 0},\n  {192, 193, 1}\n}\n");
  dir.write("cfg.vfg", "bars.bin\nbars.sym\n");
  ASSERT_EQ(run_tralk(dir.path(), "cfg.vfg").status, 0);
  // U+0410 and U+0411 are bytes 0xC0 and 0xC1 in CP1251; "Ж" is 0xC6.
  RunResult r = run_inspect_exe(
      dir.path(), "bars.bin --font 0 --scale 1 --png t.png --encoding CP1251 --text 'БАЖ'");
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("\nText picture \"t.png\": 25 x 18 pixels, scale 1; 3 characters, 1 "
                       "through the default character\n\nNo problems found\n"),
            std::string::npos)
      << r.out;
  const std::string png = TempDir::read(dir.file("t.png"));
  const RgbPicture img = decode_png(png.data(), png.size());
  const uint32_t m = kSheetMargin;
  const char* const rows = "..##..###";  // right bar, left bar, full block: '#' ink
  for (uint32_t x = 0; x < 9; ++x) {
    const RGBTRIPLET want = rows[x] == '#' ? RGBTRIPLET{0, 0, 0} : RGBTRIPLET{255, 255, 255};
    EXPECT_TRUE(img.at(m + x, m) == want && img.at(m + x, m + 1) == want) << x;
  }

  struct Case {
    const char* args;
    const char* out;
  };
  const Case errors[] = {
      {"bars.bin --text A --png t.png", "--text needs --font"},
      {"bars.bin --encoding CP1251", "--encoding needs --text or --strings"},
      {"bars.bin --encoding native --text A --font 0 --png t.png",
       "--encoding takes unicode or a code page, not native"},
      {"bars.bin --encoding NOPE --text A --font 0 --png t.png",
       "unknown encoding \"NOPE\" (iconv -l lists the code pages)"},
  };
  for (const Case& c : errors) {
    r = run_inspect_exe(dir.path(), c.args);
    EXPECT_EQ(r.status, 2) << c.args;
    EXPECT_EQ(r.out, std::string("tralk-inspect: ") + c.out + "\nTry \"tralk-inspect --help\".\n")
        << c.args;
  }
  r = run_inspect_exe(dir.path(), "bars.bin --font 0 --png u.png --text \"$(printf '\\377')\"");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.out.find("tralk-inspect: --text is not UTF-8 text\n"), std::string::npos) << r.out;
  EXPECT_FALSE(std::filesystem::exists(dir.file("u.png")));
}

}  // namespace
