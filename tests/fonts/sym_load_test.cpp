#include "fonts/sym_load.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

namespace {

using Bytes = SymbolBytes;
using Name = std::optional<std::string>;

Outcome<SymLoaded> load(std::string_view text) {
  return sym_load(TextBytes(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

TEST(SymLoad, ReadsBwFontAndItsCodepageName) {
  const Outcome<SymLoaded> r = load(
      "// 8x8 font CP<ascii.cp>\n"
      "{{8,8},{0x00,0x18,0x24,0x42,0x7E,0x42,0x42,0x00}},\n"
      "{{8,8},{0x00,0x7C,0x42,0x7C,0x42,0x42,0x7C,0x00}},\n");
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r->font->symwidth, 8);
  EXPECT_EQ(r->font->symheight, 8);
  EXPECT_EQ(r->font->symbytes, 8u);
  EXPECT_EQ(r->font->numsym, 2);
  EXPECT_EQ(r->font->symdata, (Bytes{8, 0, 8, 0, 0x00, 0x18, 0x24, 0x42, 0x7E, 0x42, 0x42, 0x00,
                                     8, 0, 8, 0, 0x00, 0x7C, 0x42, 0x7C, 0x42, 0x42, 0x7C, 0x00}));
  EXPECT_EQ(r->font->codepage, nullptr);
  EXPECT_EQ(r->cpname, Name("ascii.cp"));
  EXPECT_EQ(r->palname, std::nullopt);
}

TEST(SymLoad, ReadsColourFont) {
  const Outcome<SymLoaded> r = load(
      "/* 4 bpp symbols */\r\n"
      "{{0,4,6,2},{0x01,0x23,0x45,0x67,0x89,0xAB}},\r\n"
      "{{0,4,5,2},{0x12,0x30,0x00,0x45,0x60,0x00}}\r\n");
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r->font->symwidth, 6);
  EXPECT_EQ(r->font->symheight, 2);
  EXPECT_EQ(r->font->symbytes, 6u);
  EXPECT_EQ(r->font->numsym, 2);
  EXPECT_EQ(r->font->symdata, (Bytes{0, 0, 4, 0, 6, 0, 2, 0, 0x01, 0x23, 0x45, 0x67, 0x89, 0xAB,  //
                                     0, 0, 4, 0, 5, 0, 2, 0, 0x12, 0x30, 0x00, 0x45, 0x60, 0x00}));
  EXPECT_EQ(sym_numbits(*r->font), 4);
  EXPECT_EQ(r->cpname, std::nullopt);
}

TEST(SymLoad, AcceptedForms) {
  struct Case {
    const char* text;
    uint16_t symwidth, symheight, numsym;
    uint32_t symbytes;
    Bytes data;
  };
  const Case cases[] = {
      {"{{8,2},{0x12,0x34,}}", 8, 2, 1, 2, {8, 0, 2, 0, 0x12, 0x34}},
      {"{{8,2},{1,2}},", 8, 2, 1, 2, {8, 0, 2, 0, 1, 2}},
      {"{{8,2},{1,2}}}", 8, 2, 1, 2, {8, 0, 2, 0, 1, 2}},
      {"{{8,2},{1,2}};{{", 8, 2, 1, 2, {8, 0, 2, 0, 1, 2}},
      // Rows at each symbol's own width; the rest of the byte count is padding.
      {"{{9,2},{1,2,3,4}},{{8,2},{5,6,0,0}}",
       9,
       2,
       2,
       4,
       {9, 0, 2, 0, 1, 2, 3, 4, 8, 0, 2, 0, 5, 6, 0, 0}},
      {"{{0,4,3,1},{1,2}},{{0,2,3,1},{3,0}}", 3, 1, 2, 2, {0, 0, 4, 0, 3, 0, 1, 0, 1, 2,
                                                           0, 0, 2, 0, 3, 0, 1, 0, 3, 0}},
      {"{{5,1},{1}},{{6,1},{2}},{{8,1},{3}}",
       6,
       1,
       3,
       1,
       {5, 0, 1, 0, 1, 6, 0, 1, 0, 2, 8, 0, 1, 0, 3}},
      {"{{5,1},{1}},{{6,1},{2}}", 6, 1, 2, 1, {5, 0, 1, 0, 1, 6, 0, 1, 0, 2}},
      {"{{0x10008,0x20003},{0x1FF,256,3}}", 8, 3, 1, 3, {8, 0, 3, 0, 0xFF, 0x00, 3}},
      {"{{0,0x10018,0x10001,0x20001},{7,8,9}}", 1, 1, 1, 3, {0, 0, 0x18, 0, 1, 0, 1, 0, 7, 8, 9}},
      {"/*a*/{ { 3 ,\t1 } , // b\n { 007 } }\n", 3, 1, 1, 1, {3, 0, 1, 0, 7}},
      // Widths as stored: 0x10004 counts as 4.
      {"{{0x10004,1},{1}},{{6,1},{2}}", 5, 1, 2, 1, {4, 0, 1, 0, 1, 6, 0, 1, 0, 2}},
  };
  for (const Case& c : cases) {
    const Outcome<SymLoaded> r = load(c.text);
    ASSERT_TRUE(r.ok()) << c.text;
    EXPECT_EQ(r->font->symwidth, c.symwidth) << c.text;
    EXPECT_EQ(r->font->symheight, c.symheight) << c.text;
    EXPECT_EQ(r->font->numsym, c.numsym) << c.text;
    EXPECT_EQ(r->font->symbytes, c.symbytes) << c.text;
    EXPECT_EQ(r->font->symdata, c.data) << c.text;
  }
}

TEST(SymLoad, SyntaxErrorsNameTheSymbolAndTheLine) {
  struct Case {
    const char* text;
    unsigned symbol;
    unsigned line = 2;  // after the markers' line
  };
  const Case cases[] = {
      {"", 0, 1},  // the file ends on the markers' line
      {"x{{8,1},{1}}", 0},
      {"{8,1},{1}", 0},
      {"{{8,1},{}}", 0},
      {"{{8,},{1}}", 0},
      {"{{8,2},{1,,2}}", 0},
      {"{{8,1},{1}", 0},
      {"{{8,1,3},{1}}", 0},
      {"{{0,4,8,2,1},{1}}", 0},
      {"{{-8,1},{1}}", 0},
      {"{{0,1},{1}}", 0},        // a b&w header needs a width
      {"{{0x10000,1},{1}}", 0},  // ... also when the width is kept to 16 bits
      {"{{1,4,2,1},{1}}", 0},    // a colour header starts with 0
      {"{{8,1},{1}},}", 1},
      {"{{8,1},{1}},x", 1},
      {"{{8,2},{1,2,3}},{{8,3},{1,2,3}}", 1},
      {"{{8,1},{1}},{{8,1},{1,2}}", 1},
      {"{{8,1},{1,2}},{{8,1},{1}}", 1},
      {"{{8,1},{1}},{{0,1,8,1},{1}}", 1},
      {"{{0,1,8,1},{1}},{{8,1},{1}}", 1},
      {"{{0,1,8,2},{1,2,3}},{{0,1,8,3},{1,2,3}}", 1},
      {"{{1,1},{1}},{{2,1},{2}},{{3,1},{3}},{{4,1},{4}", 3},
      {"{{8,1},{1}},\r\n{{8,1},\r\n{1,2}}", 1, 4},
      {"{{8,1},{1}},\n\n{{8,1},{1}} /* open\n", 2, 4},
      {"{{8,1},{1}}\r\r{{8,1},{1}}", 1, 4},
  };
  for (const Case& c : cases) {
    const Outcome<SymLoaded> r = load(std::string("// CP<a.cp> PAL<b.pal>\n") + c.text);
    ASSERT_FALSE(r.ok()) << c.text;
    EXPECT_EQ(r.code(), Fault::format) << c.text;
    EXPECT_EQ(r.failure().at.item, c.symbol) << c.text;
    EXPECT_EQ(r.failure().at.line, c.line) << c.text;
  }
}

TEST(SymLoad, HoldsAtMost65535Symbols) {
  std::string full;
  // Symbols without rows hold their widths in a single padding byte.
  for (int i = 0; i < 65535; ++i) full += "{{65535,0},{1}},";
  const Outcome<SymLoaded> ok = load(full);
  ASSERT_TRUE(ok.ok());
  EXPECT_EQ(ok->font->numsym, 65535);
  // Twice the width sum passes 32 bits; the average does not.
  EXPECT_EQ(ok->font->symwidth, 65535);
  EXPECT_EQ(ok->font->symdata.size(), 65535u * 5);

  const Outcome<SymLoaded> over = load(full + "{{65535,0},{1}}");
  ASSERT_FALSE(over.ok());
  EXPECT_EQ(over.failure().at.item, 65535u);
}

TEST(SymLoad, FirstLineMarkers) {
  struct Case {
    const char* first_line;
    Name cpname;
    Name palname;
  };
  const Case cases[] = {
      {"// CP<latin.cp\r\n", "latin.cp", std::nullopt},  // no ">": the rest of the line
      {"/* PAL<grey.pal> CP<latin.cp> CP<x.cp> */\n", "latin.cp", "grey.pal"},
      {"// PAL<my grey.pal\n", std::nullopt, "my grey.pal"},
      {"// PAL<>\n", std::nullopt, ""},
      {"// no markers\n// CP<latin.cp>\n", std::nullopt, std::nullopt},
  };
  for (const Case& c : cases) {
    const Outcome<SymLoaded> r = load(std::string(c.first_line) + "{{8,1},{1}}");
    ASSERT_TRUE(r.ok()) << c.first_line;
    EXPECT_EQ(r->cpname, c.cpname) << c.first_line;
    EXPECT_EQ(r->palname, c.palname) << c.first_line;
  }
}

}  // namespace
