// Reading images back: every field of sound blocks, and each kind of damage
// reported at the block where it lies without reading outside the buffer.
#include "inspect/image_reader.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

#include "inspect/inspect_helpers.h"

namespace {

using namespace tralk::inspector;
using inspect_test::build_image;
using inspect_test::inspect;
using inspect_test::make_font;

const std::vector<uint8_t> kGlyphA = {0x18, 0x24, 0x42, 0x7E, 0x42, 0x42, 0x00};
const std::vector<uint8_t> kGlyphB = {0x7C, 0x42, 0x7C, 0x42, 0x42, 0x7C, 0x00};
const std::vector<uint8_t> kNibbles = {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF, 0x00};

// Two blocks: a b&w 8x7 font of two symbols with a one-range codepage (68
// bytes at 0) and a 4-bit font of one 6x3 symbol (52 bytes at 68).
std::vector<uint8_t> base_image() {
  SymFontPtr a = make_font(0, 7, {8, 8}, {kGlyphA, kGlyphB}, {{65, 66, 0}}, 65);
  SymFontPtr b = make_font(4, 3, {6}, {kNibbles});
  return build_image({a.get(), b.get()});
}

TEST(InspectImage, ReadsEveryFieldOfSoundBlocks) {
  SymFontPtr a = make_font(0, 7, {8, 8}, {kGlyphA, kGlyphB}, {{65, 66, 0}}, 65);
  SymFontPtr b = make_font(4, 3, {6}, {kNibbles});
  SYMFONT bare;
  bare.symwidth = 3;
  const std::vector<uint8_t> image = build_image({a.get(), b.get(), &bare});
  ASSERT_EQ(image.size(), 160u);

  const InspectResult r = inspect(image);
  EXPECT_TRUE(r.problems.empty()) << r.problems.front().field << ": " << r.problems.front().text;
  ASSERT_EQ(r.fonts.size(), 3u);
  EXPECT_EQ(r.size, 160u);
  EXPECT_EQ(r.total, 160u);

  const FontRecord& f0 = r.fonts[0];
  EXPECT_EQ(f0.index, 0u);
  EXPECT_EQ(f0.blocksize, 68u);
  EXPECT_EQ(f0.flags, 7u);
  EXPECT_EQ(f0.type, 1u);
  EXPECT_EQ(f0.numbits, 0u);
  EXPECT_EQ(f0.symwidth, 8u);
  EXPECT_EQ(f0.symheight, 7u);
  EXPECT_EQ(f0.numsym, 2u);
  EXPECT_EQ(f0.symbytes, 7u);
  EXPECT_EQ(f0.cpindex, 38u);
  EXPECT_EQ(f0.symindex, 48u);
  EXPECT_TRUE(f0.has_codepage);
  EXPECT_EQ(f0.defchar, 65u);
  ASSERT_EQ(f0.ranges.size(), 1u);
  EXPECT_EQ(f0.ranges[0], (std::array<uint16_t, 3>{65, 66, 0}));
  EXPECT_EQ(f0.widths, (std::vector<uint16_t>{8, 8}));
  std::vector<uint8_t> both = kGlyphA;
  both.insert(both.end(), kGlyphB.begin(), kGlyphB.end());
  EXPECT_EQ(f0.pixels, both);
  EXPECT_TRUE(f0.drawable);
  EXPECT_EQ(font_rowbytes(f0, 0), 1u);
  EXPECT_EQ(font_pixel(f0, 0, 3, 0), 1u);  // 0x18: pixels 3 and 4 set
  EXPECT_EQ(font_pixel(f0, 0, 2, 0), 0u);
  EXPECT_EQ(font_pixel(f0, 1, 1, 5), 1u);  // 0x7C

  const FontRecord& f1 = r.fonts[1];
  EXPECT_EQ(f1.index, 68u);
  EXPECT_EQ(f1.blocksize, 52u);
  EXPECT_EQ(f1.flags, 3u);
  EXPECT_EQ(f1.numbits, 4u);
  EXPECT_EQ(f1.cpindex, 0u);
  EXPECT_EQ(f1.symindex, 106u);
  EXPECT_FALSE(f1.has_codepage);
  EXPECT_EQ(font_rowbytes(f1, 0), 3u);
  EXPECT_EQ(font_pixel(f1, 0, 1, 0), 0x1u);
  EXPECT_EQ(font_pixel(f1, 0, 0, 2), 0xCu);
  EXPECT_EQ(font_pixel(f1, 0, 5, 1), 0xBu);

  const FontRecord& f2 = r.fonts[2];
  EXPECT_EQ(f2.index, 120u);
  EXPECT_EQ(f2.blocksize, 40u);
  EXPECT_EQ(f2.flags, 1u);
  EXPECT_TRUE(f2.widths.empty());
}

// Each symbol's rows are as long as its own width needs; a narrower symbol
// of a proportional font ends in padding.
TEST(InspectImage, ProportionalSymbolsKeepTheirOwnRows) {
  SymFontPtr f = make_font(4, 2, {6, 5, 1, 3},
                           {{0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC},
                            {0xFE, 0xDC, 0xB0, 0x98, 0x76, 0x50},
                            {0x10, 0x20, 0xEE, 0xEE, 0xEE, 0xEE},
                            {0x12, 0x30, 0x45, 0x60, 0xEE, 0xEE}});
  const InspectResult r = inspect(build_image({f.get()}));
  ASSERT_TRUE(r.problems.empty());
  const FontRecord& rec = r.fonts.at(0);
  const uint32_t want[][3] = {
      // symbol, row bytes, first pixel of the second row
      {0, 3, 0x7},
      {1, 3, 0x9},
      {2, 1, 0x2},
      {3, 2, 0x4},
  };
  for (const auto& w : want) {
    EXPECT_EQ(font_rowbytes(rec, w[0]), w[1]) << "symbol " << w[0];
    EXPECT_EQ(font_drawn_rows(rec, w[0]), 2u) << "symbol " << w[0];
    EXPECT_EQ(font_pixel(rec, w[0], 0, 1), w[2]) << "symbol " << w[0];
  }
  EXPECT_EQ(font_pixel(rec, 3, 2, 1), 0x6u);  // the last pixel before the padding
}

struct Corruption {
  const char* what;
  std::function<void(std::vector<uint8_t>&)> damage;
  uint32_t index;     // storage index the problem is reported at
  const char* field;  // and its field
  const char* text;   // and its text
  size_t fonts;       // blocks listed; SIZE_MAX when it does not matter
};

constexpr size_t kAny = std::numeric_limits<size_t>::max();

void put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  put_u32le(&b[at], v);
}

TEST(InspectImage, ReportsEachCorruptionAtItsBlock) {
  const Corruption cases[] = {
      {"image cut in a symbol section", [](auto& b) { b.resize(110); }, 68, "block size",
       "52 overruns the image: 42 bytes are left from this block on; the walk stops here", 2},
      {"image cut 2 bytes into a block", [](auto& b) { b.resize(70); }, 68, "block size",
       "only 2 bytes left at the end of the image, too few for a block", 1},
      {"image cut in a block head", [](auto& b) { b.resize(80); }, 68, "block head",
       "cut short: the image ends after 12 of its 38 bytes", 1},
      {"flipped low bit of a block size", [](auto& b) { b[0] ^= 1; }, 0, "block size",
       "69 is not a multiple of 4; read as the 68 bytes its contents take", 2},
      {"flipped byte 1 of a block size", [](auto& b) { b[1] ^= 1; }, 0, "block size",
       "324 overruns the image: 120 bytes are left from this block on; read as the 68 bytes its "
       "contents take",
       2},
      {"block size below a head", [](auto& b) { b[0] = 4; }, 0, "block size",
       "4 is less than the 40 bytes of the smallest block; read as the 68 bytes its contents take",
       2},
      {"block size too large", [](auto& b) { b[0] = 72; }, 0, "block size",
       "72 leaves 6 bytes after the contents, more than the 0 to 3 of fill", kAny},
      {"block size too large, fill", [](auto& b) { b[0] = 72; }, 0, "fill",
       "byte 0x34 at storage index 68 is not zero", kAny},
      {"unknown flag", [](auto& b) { b[4] |= 0x10; }, 0, "flags",
       "23 has bits other than 1, 2 and 4", 2},
      {"flags without header bit", [](auto& b) { b[4] = 6; }, 0, "flags",
       "6 lacks bit 0 (font header present)", 2},
      {"type", [](auto& b) { b[6] = 2; }, 0, "type ID", "2, expected 1", 2},
      {"numbits", [](auto& b) { b[68 + 7] = 3; }, 68, "numbits",
       "3 is not a pixel depth (0, 1, 2, 4, 8, 16 or 24)", 2},
      {"reserved 8-9", [](auto& b) { b[9] = 1; }, 0, "reserved bytes 8-9", "not zero", 2},
      {"reserved 14-15", [](auto& b) { b[14] = 1; }, 0, "reserved bytes 14-15", "not zero", 2},
      {"reserved 26-29", [](auto& b) { b[68 + 29] = 1; }, 68, "reserved bytes 26-29", "not zero",
       2},
      {"reserved 34-37", [](auto& b) { b[68 + 36] = 1; }, 68, "reserved bytes 34-37", "not zero",
       2},
      {"codepage index outside", [](auto& b) { put32(b, 22, 1000); }, 0, "codepage index",
       "1000 lies outside its block (storage index 0 to 67)", 2},
      {"codepage index misplaced", [](auto& b) { put32(b, 22, 40); }, 0, "codepage index",
       "40, but the section starts at storage index 38", 2},
      {"codepage index without codepage", [](auto& b) { put32(b, 68 + 22, 5); }, 68,
       "codepage index", "5 in a block without a codepage", 2},
      {"symbol index outside", [](auto& b) { put32(b, 68 + 30, 0); }, 68, "symbol index",
       "0 lies outside its block (storage index 68 to 119)", 2},
      {"symbol index misplaced", [](auto& b) { put32(b, 30, 50); }, 0, "symbol index",
       "50, but the section starts at storage index 48", 2},
      {"non-zero fill", [](auto& b) { b[66] = 0xAA; }, 0, "fill",
       "byte 0xaa at storage index 66 is not zero", 2},
      {"zero height", [](auto& b) { b[12] = 0; }, 0, "symbol height", "0 in a block with symbols",
       2},
      {"symbol wider than its bytes", [](auto& b) { b[48] = 9; }, 0, "symbol 0",
       "width 9 needs 14 bytes (2 a row), the font's symbols have 7", 2},
      {"taller than its bytes", [](auto& b) { b[12] = 8; }, 0, "symbol 1",
       "width 8 needs 8 bytes (1 a row), the font's symbols have 7", 2},
      {"codepage range backwards", [](auto& b) { b[44] = 64; }, 0, "codepage range 0",
       "first code 65 is above last code 64", 2},
      {"codepage range past the symbols", [](auto& b) { b[46] = 1; }, 0, "codepage range 0",
       "{65, 66, 1} maps codes to symbols 1 to 2; the font has 2", 2},
      {"default character in no range", [](auto& b) { b[40] = 67; }, 0, "default character",
       "67 is in no codepage range", 2},
      {"codepage overrunning", [](auto& b) { b[38] = 50; }, 0, "codepage section",
       "50 ranges overrun the block", 2},
      {"symbols overrunning", [](auto& b) { b[16] = 3; }, 0, "symbol section",
       "overruns the block: 2 of its 3 symbols fit", 2},
      {"no symbols", [](auto& b) { b[16] = 0; }, 0, "number of symbols",
       "0 in a block with symbols", 2},
      {"empty image", [](auto& b) { b.clear(); }, 0, "image", "empty: no font blocks", 0},
  };
  for (const Corruption& c : cases) {
    std::vector<uint8_t> image = base_image();
    ASSERT_EQ(image.size(), 120u);
    c.damage(image);
    const InspectResult r = inspect(image);
    bool found = false;
    std::string all;
    for (const Problem& p : r.problems) {
      all += std::to_string(p.index) + " " + p.field + ": " + p.text + "\n";
      found = found || (p.index == c.index && p.field == c.field && p.text == c.text);
    }
    EXPECT_TRUE(found) << c.what << "; reported:\n" << all;
    if (c.fonts != kAny) {
      EXPECT_EQ(r.fonts.size(), c.fonts) << c.what;
    }
  }
}

// Damage anywhere must be survived, and damage to a block size or a cut
// image must never pass for a sound image.
TEST(InspectImage, SurvivesEveryCutAndByteFlip) {
  const std::vector<uint8_t> image = base_image();
  for (size_t len = 0; len < image.size(); ++len) {
    // A copy of exactly len bytes, so that a read beyond it is caught by
    // the sanitizers.
    const std::vector<uint8_t> cut(image.begin(), image.begin() + len);
    const InspectResult r = inspect_image(cut.data(), cut.size());
    // Cut at the end of the first block, what is left is a sound image.
    EXPECT_EQ(r.problems.empty(), len == 68) << "cut to " << len;
  }
  for (size_t at = 0; at < image.size(); ++at) {
    for (const uint8_t mask : {0x01, 0x04, 0x80, 0xFF}) {
      std::vector<uint8_t> flipped = image;
      flipped[at] ^= mask;
      const InspectResult r = inspect(flipped);
      const bool in_size = at < 4 || (at >= 68 && at < 72);
      if (in_size) {
        EXPECT_FALSE(r.problems.empty()) << "byte " << at << " ^ " << int(mask);
      }
    }
  }
}

}  // namespace
