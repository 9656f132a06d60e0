#include "output/vmem.h"

#include <gtest/gtest.h>

#include <vector>

#include "output/output_helpers.h"
#include "support/image_bytes.h"

using namespace output_test;

namespace {

using Bytes = std::vector<uint8_t>;

// The example font's block: size 68, flags 7, codepage at 38, symbols at 48.
const Bytes kExampleBlock = {
    0x44, 0x00, 0x00, 0x00,                                // block size 68
    0x07, 0x00,                                            // header, symbols, codepage
    0x01, 0x00, 0x00, 0x00,                                // type, numbits, reserved
    0x08, 0x00, 0x07, 0x00, 0x00, 0x00,                    // width, height, reserved
    0x02, 0x00, 0x07, 0x00, 0x00, 0x00,                    // 2 symbols of 7 bytes
    0x26, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,        // codepage index 38
    0x30, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,        // symbol index 48
    0x01, 0x00, 0x20, 0x00,                                // 1 range, defchar 32
    0x20, 0x00, 0x7E, 0x00, 0x00, 0x00,                    // the range
    0x08, 0x00, 0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6,  // symbol 0
    0x08, 0x00, 0xB0, 0xB1, 0xB2, 0xB3, 0xB4, 0xB5, 0xB6,  // symbol 1
    0x00, 0x00,                                            // fill
};

// The colour font's block when it follows the example font (at index 68).
const Bytes kColourBlockAt68 = {
    0x34, 0x00, 0x00, 0x00,                                            // block size 52
    0x03, 0x00,                                                        // header, symbols
    0x01, 0x04, 0x00, 0x00,                                            // type, numbits 4
    0x06, 0x00, 0x03, 0x00, 0x00, 0x00,                                // width 6, height 3
    0x01, 0x00, 0x09, 0x00, 0x00, 0x00,                                // 1 symbol of 9 bytes
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,                    // no codepage
    0x6A, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,                    // symbol index 106
    0x06, 0x00, 0x40, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48,  // symbol 0
    0x00, 0x00, 0x00,                                                  // fill
};

TEST(VmemAddFont, WorkedExampleAndSecondFontCountFromImageStart) {
  SymFontPtr first = example_font();
  SymFontPtr second = example_colour_font();

  VMEMBUF image;
  const FONTBLOCK a = vmem_addfont(image, *first).value();
  EXPECT_EQ(image_bytes(image), kExampleBlock);
  EXPECT_EQ(image.vmpos, 68u);
  EXPECT_EQ(a.symindex, 48u);
  EXPECT_EQ(a.rangeindex, 42u);

  const FONTBLOCK b = vmem_addfont(image, *second).value();
  EXPECT_EQ(image.vmpos, 120u);
  Bytes expected = kExampleBlock;
  expected.insert(expected.end(), kColourBlockAt68.begin(), kColourBlockAt68.end());
  EXPECT_EQ(image_bytes(image), expected);
  EXPECT_EQ(b.start, 68u);
  EXPECT_EQ(b.symindex, 106u);
  EXPECT_EQ(b.rangeindex, 0u) << "a font without codepage has no range index";
}

struct BlockCase {
  const char* what;
  bool symbols;
  std::vector<Range> ranges;  // empty: no codepage
  uint32_t size;
  uint16_t flags;
};

// Fonts without symbols or codepage, and sizes with and without fill.
TEST(VmemAddFont, BlockLayoutOfEachSectionCombination) {
  const BlockCase cases[] = {
      {"bare head", false, {}, 40, 1},
      {"codepage only", false, {{1, 2, 3}, {4, 5, 6}}, 56, 5},  // 38 + 4 + 12 = 54
      {"symbols, no fill", true, {}, 48, 3},                    // 38 + 2 * (3 + 2)
      {"all sections", true, {{7, 8, 9}}, 60, 7},               // 38 + 10 + 10 = 58
  };
  for (const BlockCase& c : cases) {
    SCOPED_TRACE(c.what);
    SymFontPtr font = make_font(0, 5, 3, {4, 5}, 0x10);
    if (!c.symbols) font->symdata.clear();
    if (!c.ranges.empty()) {
      font->codepage = std::make_unique<CPTABLE>();
      font->codepage->numranges = static_cast<uint16_t>(c.ranges.size());
      font->codepage->defchar = 0x3F;
      for (const Range& r : c.ranges) {
        font->codepage->ranges.insert(font->codepage->ranges.end(), r.begin(), r.end());
      }
    }
    // A first block in front shows that every index counts from the image start.
    SymFontPtr lead = make_font(0, 1, 1, {1}, 0);  // 38 + 3 -> 44
    VMEMBUF image;
    ASSERT_TRUE(vmem_addfont(image, *lead).ok());
    const FONTBLOCK b = vmem_addfont(image, *font).value();
    const uint32_t symindex = b.symindex, rangeindex = b.rangeindex;
    const Bytes bytes = image_bytes(image);
    const uint8_t* block = bytes.data() + 44;
    EXPECT_EQ(image.vmpos, 44 + c.size);
    EXPECT_EQ(bytes.size(), image.vmpos);
    EXPECT_EQ(get_u32le(block), c.size);
    EXPECT_EQ(get_u16le(block + 4), c.flags);
    EXPECT_EQ(block[7], 0) << "numbits of a b&w font or one without symbols";

    uint32_t end_of_sections = 38;
    if (c.ranges.empty()) {
      EXPECT_EQ(get_u32le(block + 22), 0u);
      EXPECT_EQ(rangeindex, 0u);
    } else {
      EXPECT_EQ(get_u32le(block + 22), 44u + 38);
      EXPECT_EQ(rangeindex, 44u + 42);
      EXPECT_EQ(get_u16le(block + 38), c.ranges.size());
      EXPECT_EQ(get_u16le(block + 40), 0x3F);
      for (size_t i = 0; i < c.ranges.size(); ++i) {
        for (size_t v = 0; v < 3; ++v)
          EXPECT_EQ(get_u16le(block + 42 + 6 * i + 2 * v), c.ranges[i][v]);
      }
      end_of_sections += 4 + 6 * static_cast<uint32_t>(c.ranges.size());
    }
    if (c.symbols) {
      EXPECT_EQ(get_u32le(block + 30), 44 + end_of_sections);
      EXPECT_EQ(symindex, 44 + end_of_sections);
      EXPECT_EQ(get_u16le(block + end_of_sections), 4);
      EXPECT_EQ(get_u16le(block + end_of_sections + 5), 5);
      end_of_sections += 10;
    } else {
      EXPECT_EQ(get_u32le(block + 30), 0u);
      EXPECT_EQ(symindex, 0u);
    }
    for (uint32_t i = end_of_sections; i < c.size; ++i) EXPECT_EQ(block[i], 0) << "fill at " << i;
    for (uint32_t i : {8u, 9u, 14u, 15u, 26u, 27u, 28u, 29u, 34u, 35u, 36u, 37u}) {
      EXPECT_EQ(block[i], 0) << "reserved byte " << i;
    }
  }
}

// A colour font stores each symbol's own width (third header value) and its
// pixels without the 8-byte header; numbits is the low byte of the second.
TEST(VmemAddFont, ColourSymbolsKeepOwnWidths) {
  for (uint16_t numbits : {1, 2, 4, 8, 16, 24}) {
    SCOPED_TRACE(numbits);
    SymFontPtr font = make_font(numbits, 2, 3, {3, 9, 5}, 0x60);
    const Bytes bytes = image_of({font.get()});
    ASSERT_EQ(bytes.size(), 56u);
    const uint8_t* img = bytes.data();
    EXPECT_EQ(img[7], numbits);
    EXPECT_EQ(get_u16le(img + 10), 6) << "symwidth: the rounded average of 3, 9 and 5";
    EXPECT_EQ(get_u32le(img + 30), 38u);
    const uint16_t widths[] = {3, 9, 5};
    for (size_t i = 0; i < 3; ++i) {
      const uint8_t* sym = img + 38 + 5 * i;
      EXPECT_EQ(get_u16le(sym), widths[i]);
      for (size_t k = 0; k < 3; ++k) EXPECT_EQ(sym[2 + k], pixel(0x60, i, k));
    }
    EXPECT_EQ(get_u32le(img), 56u);  // 38 + 15 = 53
  }
}

TEST(VmemAddFont, RefusesImagesBeyond32Bits) {
  const std::string kMessage = "Error: virtual font image exceeds 4294967295 bytes";

  // 65535 symbols of 65536 bytes: the block alone passes 4 GiB. Its symbol
  // data is a few bytes only: nothing may be read before the refusal.
  SymFontPtr huge = make_font(0, 1, 4, {8}, 0);
  huge->numsym = 65535;
  huge->symbytes = 65536;
  VMEMBUF image;
  Outcome<FONTBLOCK> block = vmem_addfont(image, *huge);
  EXPECT_FALSE(block.ok());
  EXPECT_EQ(block.error(), kMessage);
  EXPECT_EQ(image.vmpos, 0u);
  EXPECT_TRUE(image.blocks.empty());

  // A block that fits alone but not behind what the image already holds.
  SymFontPtr bare = make_font(0, 1, 1, {1}, 0);
  bare->symdata.clear();
  image.vmpos = 0xFFFFFFFFu - 39;  // the 40-byte block would end at 2^32
  block = vmem_addfont(image, *bare);
  EXPECT_EQ(block.error(), kMessage);
  image.vmpos = 0xFFFFFFFFu - 40;  // ... and here at the last 32-bit index
  EXPECT_TRUE(vmem_addfont(image, *bare).ok());
}

// Symbol data shorter than its counts claim is written with zeros in place
// of what is missing, never read past its end.
TEST(VmemWrite, ShortSymbolDataReadsAsZeros) {
  SymFontPtr font = make_font(0, 1, 4, {8, 8}, 0x10);
  font->symdata.resize(font->symdata.size() - 6);  // the second symbol keeps its width only
  const Bytes bytes = image_of({font.get()});
  ASSERT_EQ(bytes.size(), 52u);  // 38 + 2 * (2 + 4) = 50
  EXPECT_EQ(Bytes(bytes.begin() + 38, bytes.end()),
            (Bytes{8, 0, 0x10, 0x11, 0x12, 0x13, 8, 0, 0, 0, 0, 0, 0, 0}));
}

}  // namespace
