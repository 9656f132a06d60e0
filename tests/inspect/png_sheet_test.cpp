// Contact sheets: where the symbols go, and what the PNG holds when read
// back with libpng.
#include "inspect/png_sheet.h"

#include <gtest/gtest.h>

#include "inspect/inspect_helpers.h"
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

TEST(InspectSheet, LayoutPutsEachFontInItsRow) {
  const InspectResult r = three_fonts();
  const Outcome<SheetLayout> laid_out = sheet_layout(r, std::nullopt, 3);
  ASSERT_TRUE(laid_out.ok()) << laid_out.error();
  const SheetLayout& layout = laid_out.value();
  ASSERT_EQ(layout.places.size(), 4u);
  const uint32_t m = kSheetMargin;
  const uint32_t row1 = m + 7 * 3 + kSheetRowGap;
  const uint32_t row2 = row1 + 3 * 3 + kSheetRowGap;
  const uint32_t want[][4] = {
      {0, 0, m, m}, {0, 1, m + 8 * 3 + kSheetGap, m}, {1, 0, m, row1}, {2, 0, m, row2}};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(layout.places[i].font, want[i][0]) << i;
    EXPECT_EQ(layout.places[i].symbol, want[i][1]) << i;
    EXPECT_EQ(layout.places[i].x, want[i][2]) << i;
    EXPECT_EQ(layout.places[i].y, want[i][3]) << i;
  }
  EXPECT_EQ(layout.width, m + 2 * 8 * 3 + kSheetGap + m);
  EXPECT_EQ(layout.height, row2 + 1 * 3 + m);

  // Without a scale the tallest font (7 rows) is made about 48 pixels high.
  const Outcome<SheetLayout> automatic = sheet_layout(r, std::nullopt, 0);
  ASSERT_TRUE(automatic.ok());
  EXPECT_EQ(automatic->scale, 6u);
  const Outcome<SheetLayout> one = sheet_layout(r, size_t{1}, 0);
  ASSERT_TRUE(one.ok());
  EXPECT_EQ(one->scale, 8u);  // 3 rows: 16, capped at 8
  EXPECT_EQ(one->places.size(), 1u);
}

TEST(InspectSheet, LongFontsWrap) {
  const std::vector<uint16_t> widths(kSheetSymbolsPerLine + 1, 1);
  const std::vector<std::vector<uint8_t>> pixels(widths.size(), std::vector<uint8_t>{0x80});
  SymFontPtr f = make_font(0, 1, widths, pixels);
  const Outcome<SheetLayout> laid_out =
      sheet_layout(inspect(build_image({f.get()})), std::nullopt, 2);
  ASSERT_TRUE(laid_out.ok());
  const SheetLayout& layout = laid_out.value();
  EXPECT_EQ(layout.places.back().x, kSheetMargin);
  EXPECT_EQ(layout.places.back().y, kSheetMargin + 2 + kSheetRowGap);
  EXPECT_EQ(layout.places[kSheetSymbolsPerLine - 1].y, kSheetMargin);
}

TEST(InspectSheet, PngHoldsTheSymbolPixels) {
  const InspectResult r = three_fonts();
  const Outcome<SheetLayout> laid_out = sheet_layout(r, std::nullopt, 2);
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
  const Outcome<SheetLayout> bare_block = sheet_layout(inspect(image), size_t{1}, 0);
  EXPECT_EQ(bare_block.code(), Fault::not_found);
  EXPECT_EQ(bare_block.error(), "font block 1 has no symbols that can be drawn");
  image[12] = 0;  // zero height: the symbols cannot be laid out
  const Outcome<SheetLayout> none = sheet_layout(inspect(image), std::nullopt, 0);
  EXPECT_EQ(none.code(), Fault::not_found);
  EXPECT_EQ(none.error(), "the image has no symbols that can be drawn");

  // 32 symbols 4000 pixels wide: too wide at scale 64, so the automatic
  // scale settles lower.
  const std::vector<uint16_t> widths(32, 4000);
  const std::vector<std::vector<uint8_t>> pixels(32, std::vector<uint8_t>(500));
  SymFontPtr wide = make_font(0, 1, widths, pixels);
  const InspectResult r = inspect(build_image({wide.get()}));
  const Outcome<SheetLayout> too_wide = sheet_layout(r, std::nullopt, 64);
  EXPECT_EQ(too_wide.code(), Fault::too_large);
  EXPECT_EQ(too_wide.error(),
            "a contact sheet at scale 64 would be 8192140 x 80 pixels, too large");
  const Outcome<SheetLayout> settled = sheet_layout(r, std::nullopt, 0);
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
  EXPECT_EQ(refused.error(), "cannot write \"" + dir.file("no/such/dir/a.png") + "\"");
}

}  // namespace
