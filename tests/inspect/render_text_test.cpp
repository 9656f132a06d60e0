// The inspector's texts: the table, the problem list and the symbols drawn
// in the terminal for every way of reading pixels.
#include "inspect/render_text.h"

#include <gtest/gtest.h>

#include "inspect/inspect_helpers.h"

namespace {

using namespace tralk::inspector;
using inspect_test::build_image;
using inspect_test::inspect;
using inspect_test::make_font;

const std::vector<uint8_t> kGlyphA = {0x18, 0x24, 0x42, 0x7E, 0x42, 0x42, 0x00};
const std::vector<uint8_t> kGlyphB = {0x7C, 0x42, 0x7C, 0x42, 0x42, 0x7C, 0x00};

std::vector<uint8_t> two_fonts() {
  SymFontPtr a = make_font(0, 7, {8, 8}, {kGlyphA, kGlyphB}, {{65, 66, 0}}, 65);
  SymFontPtr b = make_font(4, 3, {6}, {{0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF, 0x00}});
  return build_image({a.get(), b.get()});
}

TEST(InspectText, TableListsEveryBlock) {
  const std::string want =
      "Image \"t.bin\": 120 bytes, 2 font blocks\n"
      "\n"
      "#  index  size  flags  numbits  width  height  symbols  bytes  cp index  ranges  sym index\n"
      "0      0    68      7        0      8       7        2      7        38       1         48\n"
      "1     68    52      3        4      6       3        1      9         -       -        106\n"
      "\n"
      "Codepages:\n"
      "  font block 0: default character 65, 1 range: {65, 66, 0}\n"
      "\n"
      "Total 0x78, 120 bytes\n";
  EXPECT_EQ(format_table(inspect(two_fonts()), "t.bin"), want);
}

TEST(InspectText, ProblemsNameTheirBlock) {
  std::vector<uint8_t> image = two_fonts();
  EXPECT_EQ(format_problems(inspect(image)), "\nNo problems found\n");
  image[68 + 6] = 2;
  image[68 + 9] = 1;
  EXPECT_EQ(format_problems(inspect(image)),
            "\n2 problems found:\n"
            "  storage index 68, type ID: 2, expected 1\n"
            "  storage index 68, reserved bytes 8-9: not zero\n");
}

TEST(InspectText, KnownGlyphAsTextArt) {
  const std::string text = render_font_text(inspect(two_fonts()), 0, {});
  EXPECT_EQ(text.substr(0, text.find("\nSymbol 1")),
            "Font block 0 at storage index 0: 2 symbols, 8 x 7, numbits 0, read as b&w\n"
            "\n"
            "Symbol 0, width 8:\n"
            "...##...\n"
            "..#..#..\n"
            ".#....#.\n"
            ".######.\n"
            ".#....#.\n"
            ".#....#.\n"
            "........\n");
}

struct ArtCase {
  const char* what;
  uint16_t numbits;
  uint16_t width;
  std::vector<uint8_t> pixels;  // one row
  bool grey;
  std::vector<RGBTRIPLET> palette;  // --pal when not empty
  const char* reading;
  const char* art;
};

TEST(InspectText, EveryPixelReading) {
  const ArtCase cases[] = {
      {"b&w in colour form", 1, 2, {0x80}, false, {}, "b&w", "#.\n"},
      {"2-bit grey levels", 2, 4, {0x1B}, false, {}, "grey levels", "@*=.\n"},
      {"8-bit with --grey", 8, 3, {0, 128, 255}, true, {}, "grey levels", "@+.\n"},
      {"8-bit 3-3-2 colour",
       8,
       2,
       {0xE0, 0x03},
       false,
       {},
       "3-3-2 colour",
       "\x1b[48;2;252;0;0m  \x1b[48;2;0;0;240m  \x1b[0m\n"},
      {"16-bit 5-6-5 colour",
       16,
       3,
       {0xF8, 0x00, 0xF8, 0x00, 0x07, 0xE0},
       false,
       {},
       "5-6-5 colour",
       "\x1b[48;2;255;0;0m    \x1b[48;2;0;255;0m  \x1b[0m\n"},
      {"24-bit colour",
       24,
       1,
       {0x12, 0x34, 0x56},
       false,
       {},
       "8-8-8 colour",
       "\x1b[48;2;18;52;86m  \x1b[0m\n"},
      {"4-bit palette indices",
       4,
       2,
       {0x2F},
       false,
       {{0, 0, 0}, {255, 255, 255}, {10, 20, 30}},
       "palette indices",
       "\x1b[48;2;10;20;30m  \x1b[48;2;0;0;0m  \x1b[0m\n"},
      {"8-bit palette indices",
       8,
       1,
       {1},
       false,
       {{0, 0, 0}, {1, 2, 3}},
       "palette indices",
       "\x1b[48;2;1;2;3m  \x1b[0m\n"},
  };
  for (const ArtCase& c : cases) {
    SymFontPtr f = make_font(c.numbits, 1, {c.width}, {c.pixels});
    ReadingOptions opts;
    opts.grey = c.grey;
    if (!c.palette.empty()) opts.palette = &c.palette;
    const std::string text = render_font_text(inspect(build_image({f.get()})), 0, opts);
    const std::string head = "Font block 0 at storage index 0: 1 symbol, " +
                             std::to_string(c.width) + " x 1, numbits " +
                             std::to_string(c.numbits) + ", read as " + c.reading + "\n";
    EXPECT_EQ(text, head + "\nSymbol 0, width " + std::to_string(c.width) + ":\n" + c.art)
        << c.what;
  }
}

TEST(InspectText, DamagedSymbolsAreDrawnOnlyWhereSafe) {
  std::vector<uint8_t> image = two_fonts();
  image[48] = 9;  // symbol 0 claims 9 pixels: rows of 2 bytes, 3 of them in its 7 bytes
  std::string text = render_font_text(inspect(image), 0, {});
  EXPECT_NE(text.find("\nSymbol 0, width 9 (3 of its 7 rows drawn: the rest lie beyond its "
                      "bytes):\n...##....\n.#....#..\n.#....#..\n\nSymbol 1"),
            std::string::npos)
      << text;

  image = two_fonts();
  image[12] = 0;  // zero height
  text = render_font_text(inspect(image), 0, {});
  EXPECT_EQ(text.substr(text.find('\n') + 1),
            "The symbols cannot be laid out as pixel rows (see the problems)\n");

  image = two_fonts();
  image[16] = 3;  // three symbols, two of them in the block
  text = render_font_text(inspect(image), 0, {});
  EXPECT_NE(text.find("Only 2 of them lie inside the block\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\nSymbol 1, width 8:\n"), std::string::npos);
  EXPECT_EQ(text.find("\nSymbol 2"), std::string::npos);
}

}  // namespace
