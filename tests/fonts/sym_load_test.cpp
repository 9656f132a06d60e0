#include "fonts/sym_load.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/console.h"
#include "support/tempdir.h"

namespace {

using Bytes = SymbolBytes;
using Name = std::optional<std::string>;

struct SymResult {
  SymFontPtr font;
  Name cpname = "untouched";
  Name palname = "untouched";
  std::string console;
};

SymResult load(const std::string& path, bool want_names = true) {
  SymResult r;
  con_capture_begin();
  r.font = want_names ? sym_load(path.c_str(), &r.cpname, &r.palname) : sym_load(path.c_str());
  r.console = con_capture_end();
  return r;
}

std::string syntax_error(unsigned symbol, const std::string& path) {
  return "\n Syntax error detected on symbol " + std::to_string(symbol) + " in sym file \"" + path +
         "\"";
}

const char kLatinCp[] = "{2, 32},\n{\n  {32, 126, 0},\n  {160, 255, 95}\n}\n";

TEST(SymLoad, ReadsBwFontWithItsCodepage) {
  TempDir dir;
  dir.write("ascii.cp", kLatinCp);
  const auto path = dir.write("font8.sym",
                              "// 8x8 font CP<ascii.cp>\n"
                              "{{8,8},{0x00,0x18,0x24,0x42,0x7E,0x42,0x42,0x00}},\n"
                              "{{8,8},{0x00,0x7C,0x42,0x7C,0x42,0x42,0x7C,0x00}},\n");
  const SymResult r = load(path);
  ASSERT_NE(r.font, nullptr) << r.console;
  EXPECT_EQ(r.console, "");
  EXPECT_EQ(r.font->symwidth, 8);
  EXPECT_EQ(r.font->symheight, 8);
  EXPECT_EQ(r.font->symbytes, 8u);
  EXPECT_EQ(r.font->numsym, 2);
  EXPECT_EQ(r.font->symdata, (Bytes{8, 0, 8, 0, 0x00, 0x18, 0x24, 0x42, 0x7E, 0x42, 0x42, 0x00,
                                    8, 0, 8, 0, 0x00, 0x7C, 0x42, 0x7C, 0x42, 0x42, 0x7C, 0x00}));
  ASSERT_NE(r.font->codepage, nullptr);
  EXPECT_EQ(r.font->codepage->numranges, 2);
  EXPECT_EQ(r.font->codepage->defchar, 32);
  EXPECT_EQ(r.font->codepage->ranges, (std::vector<uint16_t>{32, 126, 0, 160, 255, 95}));
  EXPECT_EQ(r.cpname, Name("ascii.cp"));
  EXPECT_EQ(r.palname, std::nullopt);
}

TEST(SymLoad, ReadsColourFont) {
  TempDir dir;
  const auto path = dir.write("colour.sym",
                              "/* 4 bpp symbols */\r\n"
                              "{{0,4,6,2},{0x01,0x23,0x45,0x67,0x89,0xAB}},\r\n"
                              "{{0,4,5,2},{0x12,0x30,0x00,0x45,0x60,0x00}}\r\n");
  const SymResult r = load(path);
  ASSERT_NE(r.font, nullptr) << r.console;
  EXPECT_EQ(r.console, "");
  EXPECT_EQ(r.font->symwidth, 6);
  EXPECT_EQ(r.font->symheight, 2);
  EXPECT_EQ(r.font->symbytes, 6u);
  EXPECT_EQ(r.font->numsym, 2);
  EXPECT_EQ(r.font->symdata, (Bytes{0, 0, 4, 0, 6, 0, 2, 0, 0x01, 0x23, 0x45, 0x67, 0x89, 0xAB,  //
                                    0, 0, 4, 0, 5, 0, 2, 0, 0x12, 0x30, 0x00, 0x45, 0x60, 0x00}));
  EXPECT_EQ(r.font->codepage, nullptr);
  EXPECT_EQ(sym_numbits(*r.font), 4);
  EXPECT_EQ(r.cpname, std::nullopt);
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
    TempDir dir;
    const SymResult r = load(dir.write("a.sym", c.text));
    ASSERT_NE(r.font, nullptr) << c.text << r.console;
    EXPECT_EQ(r.console, "") << c.text;
    EXPECT_EQ(r.font->symwidth, c.symwidth) << c.text;
    EXPECT_EQ(r.font->symheight, c.symheight) << c.text;
    EXPECT_EQ(r.font->numsym, c.numsym) << c.text;
    EXPECT_EQ(r.font->symbytes, c.symbytes) << c.text;
    EXPECT_EQ(r.font->symdata, c.data) << c.text;
  }
}

TEST(SymLoad, SyntaxErrorsNameTheSymbol) {
  struct Case {
    const char* text;
    unsigned symbol;
  };
  const Case cases[] = {
      {"", 0},
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
  };
  for (const Case& c : cases) {
    TempDir dir;
    const auto path = dir.write("bad.sym", std::string("// CP<a.cp> PAL<b.pal>\n") + c.text);
    dir.write("a.cp", kLatinCp);
    const SymResult r = load(path);
    EXPECT_EQ(r.font, nullptr) << c.text;
    EXPECT_EQ(r.console, syntax_error(c.symbol, path)) << c.text;
    EXPECT_EQ(r.cpname, std::nullopt) << c.text;
    EXPECT_EQ(r.palname, std::nullopt) << c.text;
  }
}

TEST(SymLoad, HoldsAtMost65535Symbols) {
  std::string full;
  // Symbols without rows hold their widths in a single padding byte.
  for (int i = 0; i < 65535; ++i) full += "{{65535,0},{1}},";
  TempDir dir;
  const SymResult ok = load(dir.write("full.sym", full));
  ASSERT_NE(ok.font, nullptr) << ok.console;
  EXPECT_EQ(ok.font->numsym, 65535);
  // Twice the width sum passes 32 bits; the average does not.
  EXPECT_EQ(ok.font->symwidth, 65535);
  EXPECT_EQ(ok.font->symdata.size(), 65535u * 5);

  const auto path = dir.write("over.sym", full + "{{65535,0},{1}}");
  const SymResult over = load(path);
  EXPECT_EQ(over.font, nullptr);
  EXPECT_EQ(over.console, syntax_error(65535, path));
}

TEST(SymLoad, CodepageComesFromTheSymDirectory) {
  TempDir dir;
  dir.write("fonts/latin.cp", kLatinCp);
  dir.write("latin.cp", "{1, 0},{{1,2,3}}");  // beside the current directory: not this one
  dir.write("elsewhere/.keep", "");
  // A directory in the marker's name is dropped.
  const auto path = dir.write("fonts/f.sym", "// CP<other/latin.cp>\n{{8,1},{1}}");
  const std::vector<uint16_t> latin{32, 126, 0, 160, 255, 95};
  {
    ScopedCwd cd(dir.path());
    const SymResult r = load("fonts/f.sym");
    ASSERT_NE(r.font, nullptr) << r.console;
    ASSERT_NE(r.font->codepage, nullptr);
    EXPECT_EQ(r.font->codepage->ranges, latin);
    EXPECT_EQ(r.cpname, Name("other/latin.cp"));
  }
  {
    ScopedCwd cd(dir.path() / "elsewhere");
    const SymResult r = load(path);
    ASSERT_NE(r.font, nullptr) << r.console;
    ASSERT_NE(r.font->codepage, nullptr);
    EXPECT_EQ(r.font->codepage->ranges, latin);
  }
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
    TempDir dir;
    dir.write("latin.cp", kLatinCp);
    const auto path = dir.write("m.sym", std::string(c.first_line) + "{{8,1},{1}}");
    const SymResult r = load(path);
    ASSERT_NE(r.font, nullptr) << c.first_line << r.console;
    EXPECT_EQ(r.cpname, c.cpname) << c.first_line;
    EXPECT_EQ(r.palname, c.palname) << c.first_line;
    EXPECT_EQ(r.font->codepage != nullptr, c.cpname.has_value()) << c.first_line;
  }
}

TEST(SymLoad, PaletteMarkerOnlyWhenAskedFor) {
  TempDir dir;
  const auto path = dir.write("m.sym", "// PAL<grey.pal> CP<latin.cp>\n{{8,1},{1}}");
  dir.write("latin.cp", kLatinCp);
  Name cpname;
  con_capture_begin();
  const SymFontPtr font = sym_load(path.c_str(), &cpname);
  EXPECT_EQ(con_capture_end(), "");
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(cpname, Name("latin.cp"));

  const SymResult asked = load(path);
  EXPECT_EQ(asked.palname, Name("grey.pal"));
}

TEST(SymLoad, MissingCodepageFailsTheFont) {
  TempDir dir;
  const auto path = dir.write("f.sym", "// CP<missing.cp>\n{{8,1},{1}}");
  const std::string cp_path = (dir.path() / "missing.cp").string();
  const SymResult r = load(path);
  EXPECT_EQ(r.font, nullptr);
  EXPECT_EQ(r.console, "\n Open error in .cp file \"" + cp_path +
                           "\"\n Error loading codepage specificed in sym file \"" + path + "\"");
  EXPECT_EQ(r.cpname, std::nullopt);
  EXPECT_EQ(r.palname, std::nullopt);
}

TEST(SymLoad, BadCodepageFailsTheFont) {
  TempDir dir;
  dir.write("bad.cp", "{2, 32},{{1,2,3}}");
  const auto path = dir.write("f.sym", "// CP<bad.cp>\n{{8,1},{1}}");
  const SymResult r = load(path, false);
  EXPECT_EQ(r.font, nullptr);
  EXPECT_EQ(r.console, "\n Syntax error in .cp file \"" + (dir.path() / "bad.cp").string() +
                           "\"\n Error loading codepage specificed in sym file \"" + path + "\"");
}

TEST(SymLoad, OpenErrorAndNullPath) {
  TempDir dir;
  const std::string path = (dir.path() / "none.sym").string();
  const SymResult r = load(path);
  EXPECT_EQ(r.font, nullptr);
  EXPECT_EQ(r.console, "\n Open error in sym file \"" + path + "\"");
  EXPECT_EQ(r.cpname, std::nullopt);

  Name cpname = "x";
  con_capture_begin();
  EXPECT_EQ(sym_load(nullptr, &cpname), nullptr);
  EXPECT_EQ(con_capture_end(), "");
  EXPECT_EQ(cpname, std::nullopt);
}

}  // namespace
