// Contact sheets: where the labels and symbols go, what the PNG holds when
// read back with libpng, and the labels' own font.
#include "inspect/png_sheet.h"

#include <gtest/gtest.h>

#include <set>

#include "inspect/inspect_helpers.h"
#include "inspect/labels.h"
#include "support/tempdir.h"

namespace {

using namespace tralk::inspector;
using inspect_test::build_image;
using inspect_test::decode_png;
using inspect_test::inspect;
using inspect_test::make_font;

const std::vector<uint8_t> kGlyphA = {0x18, 0x24, 0x42, 0x7E, 0x42, 0x42, 0x00};
const std::vector<uint8_t> kNibbles = {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF, 0x00};
constexpr RGBTRIPLET kBlack{0, 0, 0};
constexpr RGBTRIPLET kWhite{255, 255, 255};

// A b&w 8x7 font of two symbols, a 4-bit 6x3 font and a 16-bit 2x1 font.
InspectResult three_fonts() {
  SymFontPtr a = make_font(0, 7, {8, 8}, {kGlyphA, kGlyphA});
  SymFontPtr b = make_font(4, 3, {6}, {kNibbles});
  SymFontPtr c = make_font(16, 1, {2}, {{0xF8, 0x00, 0x07, 0xE0}});
  return inspect(build_image({a.get(), b.get(), c.get()}));
}

// Checks that every sheet pixel of the s x s square of symbol pixel (x, y)
// placed at p has colour want.
void expect_square(const RgbPicture& img, const SheetPlace& p, uint32_t s, uint32_t x, uint32_t y,
                   RGBTRIPLET want, const char* what) {
  for (uint32_t dy = 0; dy < s; ++dy)
    for (uint32_t dx = 0; dx < s; ++dx) {
      const RGBTRIPLET got = img.at(p.x + x * s + dx, p.y + y * s + dy);
      EXPECT_TRUE(got == want) << what << " pixel " << x << "," << y << ": got " << int(got.r)
                               << "," << int(got.g) << "," << int(got.b);
    }
}

// At scale 3 the labels are drawn at scale 1: 9 rows, then the gap of 4.
TEST(InspectSheet, LayoutPutsEachFontInItsRowUnderItsLabel) {
  const InspectResult r = three_fonts();
  const Outcome<SheetLayout> laid_out = sheet_layout(r, std::nullopt, 3, nullptr);
  ASSERT_TRUE(laid_out.ok()) << laid_out.error();
  const SheetLayout& layout = laid_out.value();
  ASSERT_EQ(layout.places.size(), 4u);
  const uint32_t m = kSheetMargin, head = 9 + kSheetLabelGap;
  const uint32_t row0 = m + head;
  const uint32_t row1 = row0 + 7 * 3 + kSheetRowGap + head;
  const uint32_t row2 = row1 + 3 * 3 + kSheetRowGap + head;
  const uint32_t want[][4] = {
      {0, 0, m, row0}, {0, 1, m + 8 * 3 + kSheetGap, row0}, {1, 0, m, row1}, {2, 0, m, row2}};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(layout.places[i].font, want[i][0]) << i;
    EXPECT_EQ(layout.places[i].symbol, want[i][1]) << i;
    EXPECT_EQ(layout.places[i].x, want[i][2]) << i;
    EXPECT_EQ(layout.places[i].y, want[i][3]) << i;
  }
  ASSERT_EQ(layout.labels.size(), 3u);
  const uint32_t rows[] = {row0, row1, row2};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(layout.labels[i].font, i);
    EXPECT_EQ(layout.labels[i].text, "font block " + std::to_string(i));
    EXPECT_EQ(layout.labels[i].x, m);
    EXPECT_EQ(layout.labels[i].y, rows[i] - head);
  }
  // "font block 0", 12 characters 6 apart less the last blank column, is
  // wider than the first font's row of two symbols.
  EXPECT_EQ(layout.width, m + 12 * 6 - 1 + m);
  EXPECT_EQ(layout.height, row2 + 1 * 3 + m);

  // With names the labels are the names, and the rows set the width.
  const std::vector<std::string> names = {"Big", "Grey", "Tiny"};
  const Outcome<SheetLayout> named = sheet_layout(r, std::nullopt, 3, &names);
  ASSERT_TRUE(named.ok());
  EXPECT_EQ(named->labels[1].text, "Grey");
  EXPECT_EQ(named->width, m + 2 * 8 * 3 + kSheetGap + m);

  // Without a scale the tallest font (7 rows) is made about 48 pixels high.
  const Outcome<SheetLayout> automatic = sheet_layout(r, std::nullopt, 0, nullptr);
  ASSERT_TRUE(automatic.ok());
  EXPECT_EQ(automatic->scale, 6u);
  const Outcome<SheetLayout> one = sheet_layout(r, size_t{1}, 0, nullptr);
  ASSERT_TRUE(one.ok());
  EXPECT_EQ(one->scale, 8u);  // 3 rows: 16, capped at 8
  EXPECT_EQ(one->places.size(), 1u);
  ASSERT_EQ(one->labels.size(), 1u);
  EXPECT_EQ(one->labels[0].text, "font block 1");
  EXPECT_EQ(one->places[0].y, m + 9 * 3 + kSheetLabelGap);  // labels at scale 3
}

TEST(InspectSheet, LongFontsWrap) {
  const std::vector<uint16_t> widths(kSheetSymbolsPerLine + 1, 1);
  const std::vector<std::vector<uint8_t>> pixels(widths.size(), std::vector<uint8_t>{0x80});
  SymFontPtr f = make_font(0, 1, widths, pixels);
  const Outcome<SheetLayout> laid_out =
      sheet_layout(inspect(build_image({f.get()})), std::nullopt, 2, nullptr);
  ASSERT_TRUE(laid_out.ok());
  const SheetLayout& layout = laid_out.value();
  const uint32_t row0 = kSheetMargin + 9 + kSheetLabelGap;
  EXPECT_EQ(layout.places.back().x, kSheetMargin);
  EXPECT_EQ(layout.places.back().y, row0 + 2 + kSheetRowGap);
  EXPECT_EQ(layout.places[kSheetSymbolsPerLine - 1].y, row0);
  EXPECT_EQ(layout.labels.size(), 1u);
}

// The label "Ab1" at scale 6, labels at 2: each pixel of this drawing is a
// 2 x 2 square, white where it is set, the background elsewhere.
TEST(InspectSheet, LabelsAreDrawnInTheirOwnFont) {
  const char* const kAb1[] = {
      ".###. #.... ..#..", "#...# #.... .##..", "#...# #.##. ..#..",
      "##### ##..# ..#..", "#...# #...# ..#..", "#...# #...# ..#..",
      "#...# ####. .###.", "..... ..... .....", "..... ..... .....",
  };
  const InspectResult r = three_fonts();
  const std::vector<std::string> names = {"Ab1", "g", "Z"};
  const Outcome<SheetLayout> laid_out = sheet_layout(r, std::nullopt, 6, &names);
  ASSERT_TRUE(laid_out.ok()) << laid_out.error();
  const RgbPicture img = draw_sheet(r, laid_out.value(), {});
  const SheetLabel& label = laid_out->labels[0];
  for (uint32_t y = 0; y < 9; ++y)
    for (uint32_t x = 0; x < 18; ++x) {  // and the column after the label
      const bool set = x < 17 && kAb1[y][x] == '#';
      const SheetPlace square{0, 0, label.x, label.y};
      expect_square(img, square, 2, x, y, set ? kSheetLabelColour : kSheetBackground, "label");
    }
  // "?" stands for what the font lacks.
  EXPECT_EQ(label_glyph(U'\u00E9'), label_glyph(U'?'));
  EXPECT_EQ(label_glyph(U'\n'), label_glyph(U'?'));
}

// Every printable character has a glyph of its own, 5 pixels wide.
TEST(InspectSheet, LabelGlyphsAreDistinct) {
  std::set<LabelGlyph> seen;
  for (char32_t c = 0x20; c <= 0x7E; ++c) {
    const LabelGlyph& glyph = label_glyph(c);
    for (const uint8_t row : glyph) EXPECT_LT(row, 1u << kLabelGlyphWidth) << int(c);
    EXPECT_TRUE(seen.insert(glyph).second) << "U+" << std::hex << int(c);
  }
}

TEST(InspectSheet, PngHoldsTheSymbolPixels) {
  const InspectResult r = three_fonts();
  const Outcome<SheetLayout> laid_out = sheet_layout(r, std::nullopt, 2, nullptr);
  ASSERT_TRUE(laid_out.ok()) << laid_out.error();
  const SheetLayout& layout = laid_out.value();
  const Outcome<std::vector<uint8_t>> png = png_encode(draw_sheet(r, layout, {}));
  ASSERT_TRUE(png.ok()) << png.error();
  const RgbPicture img = decode_png(png->data(), png->size());
  ASSERT_EQ(img.width, layout.width);
  ASSERT_EQ(img.height, layout.height);

  const uint32_t s = layout.scale;
  for (const SheetPlace& p : {layout.places[0], layout.places[1]})
    for (uint32_t y = 0; y < 7; ++y)
      for (uint32_t x = 0; x < 8; ++x)
        expect_square(img, p, s, x, y, (kGlyphA[y] >> (7 - x)) & 1 ? kBlack : kWhite, "b&w");
  for (uint32_t y = 0; y < 3; ++y)
    for (uint32_t x = 0; x < 6; ++x) {
      const uint8_t byte = kNibbles[y * 3 + x / 2];
      const auto v = static_cast<uint8_t>(((x % 2) ? byte & 0xF : byte >> 4) * 17);
      expect_square(img, layout.places[2], s, x, y, {v, v, v}, "grey");
    }
  expect_square(img, layout.places[3], s, 0, 0, {255, 0, 0}, "5-6-5");
  expect_square(img, layout.places[3], s, 1, 0, {0, 255, 0}, "5-6-5");
  // Around and between the symbols lies the background.
  EXPECT_TRUE(img.at(0, 0) == kSheetBackground);
  EXPECT_TRUE(img.at(layout.places[1].x - 1, layout.places[1].y) == kSheetBackground);
}

TEST(InspectSheet, RefusesWhatCannotBeDrawn) {
  SymFontPtr a = make_font(0, 7, {8}, {kGlyphA});
  SYMFONT bare;
  bare.symwidth = 1;
  std::vector<uint8_t> image = build_image({a.get(), &bare});
  const Outcome<SheetLayout> bare_block = sheet_layout(inspect(image), size_t{1}, 0, nullptr);
  EXPECT_EQ(bare_block.code(), Fault::not_found);
  EXPECT_EQ(bare_block.error(), "font block 1 has no symbols that can be drawn");
  image[12] = 0;  // zero height: the symbols cannot be laid out
  const Outcome<SheetLayout> none = sheet_layout(inspect(image), std::nullopt, 0, nullptr);
  EXPECT_EQ(none.code(), Fault::not_found);
  EXPECT_EQ(none.error(), "the image has no symbols that can be drawn");

  // 32 symbols 4000 pixels wide: too wide at scale 64, so the automatic
  // scale settles lower. 282 rows: the margins, the label at scale 22 (198)
  // and its gap, the symbol row.
  const std::vector<uint16_t> widths(32, 4000);
  const std::vector<std::vector<uint8_t>> pixels(32, std::vector<uint8_t>(500));
  SymFontPtr wide = make_font(0, 1, widths, pixels);
  const InspectResult r = inspect(build_image({wide.get()}));
  const Outcome<SheetLayout> too_wide = sheet_layout(r, std::nullopt, 64, nullptr);
  EXPECT_EQ(too_wide.code(), Fault::too_large);
  EXPECT_EQ(too_wide.error(),
            "a contact sheet at scale 64 would be 8192140 x 282 pixels, too large");
  const Outcome<SheetLayout> settled = sheet_layout(r, std::nullopt, 0, nullptr);
  ASSERT_TRUE(settled.ok()) << settled.error();
  EXPECT_EQ(settled->scale, 7u);
}

TEST(InspectSheet, WritesWholeFilesOnly) {
  TempDir dir;
  RgbPicture img{2, 1, {1, 2, 3, 4, 5, 6}};
  const Status written = png_write(img, dir.file("a.png"));
  ASSERT_TRUE(written.ok()) << written.error();
  const std::string bytes = TempDir::read(dir.file("a.png"));
  const RgbPicture back = decode_png(bytes.data(), bytes.size());
  EXPECT_EQ(back.rgb, img.rgb);
  const Status refused = png_write(img, dir.file("no/such/dir/a.png"));
  EXPECT_EQ(refused.code(), Fault::io);
  EXPECT_EQ(refused.error(),
            "cannot write \"" + dir.file("no/such/dir/a.png") + "\": No such file or directory");
}

}  // namespace
