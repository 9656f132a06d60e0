// What an import chooses where the command line is silent: the default
// character (never a real letter unless the font has nothing else), the
// report of the few glyphs that make every symbol larger, and the face of a
// fallback collection.
#include <gtest/gtest.h>

#include <filesystem>

#include "import/import_helpers.h"

namespace {

using import_test::bdf;
using import_test::kDejaVuSans;
using import_test::run_import;

std::string glyph(const std::string& name, int code, int advance, const std::string& bbx,
                  const std::string& rows) {
  return "STARTCHAR " + name + "\nENCODING " + std::to_string(code) + "\nSWIDTH 500 0\nDWIDTH " +
         std::to_string(advance) + " 0\nBBX " + bbx + "\nBITMAP\n" + rows + "ENDCHAR\n";
}

// A font whose DEFAULT_CHAR names its box at code 0.
std::string with_default_char(std::string font, int code) {
  font.replace(font.find("STARTPROPERTIES 7"), 17, "STARTPROPERTIES 8");
  font.replace(font.find("ENDPROPERTIES"), 0, "DEFAULT_CHAR " + std::to_string(code) + "\n");
  return font;
}

const std::string kA = glyph("A", 0x41, 5, "3 2 0 0", "40\nA0\n");
const std::string kBox = glyph("box", 0, 5, "3 2 0 0", "E0\nE0\n");
const std::string kReplacement = glyph("uFFFD", 0xFFFD, 5, "3 2 0 0", "A0\n40\n");

// The symbol lines of a .sym file.
std::string symbol_lines(const std::string& sym) {
  return sym.substr(std::min(sym.size(), sym.find("\n{{") + 1));
}

TEST(ImportDefaults, TheFontsOwnSymbolForMissingCharacters) {
  TempDir dir;
  dir.write("box.bdf", with_default_char(bdf(kBox + kA), 0));
  dir.write("fffd.bdf", bdf(kA + kReplacement));
  const bool pcf = std::system("command -v bdftopcf >/dev/null") == 0;
  if (pcf) {
    const std::string make = "cd " + shell_quote(dir.str()) + " && bdftopcf -o box.pcf box.bdf";
    ASSERT_EQ(std::system(make.c_str()), 0);
  }
  struct Case {
    std::string args;
    std::string cp_line;  // the report's
    std::string symbols;
    std::string cp;
  };
  const std::string cp_of_a_and_fffd =
      "{2, 65533},  /* number of ranges, default character */\n{\n  {65, 65, 0},  /* first code, "
      "last code, symbol index of the first code */\n  {65533, 65533, 1}\n}\n";
  const Case cases[] = {
      {"box.bdf -r 0x41",
       "2 ranges, default character 0xFFFD, the font's default character 0x0000 added under U+FFFD",
       "{{5,2},{0x40,0xA0}}, // 0x0041\n{{5,2},{0xE0,0xE0}}, // 0xFFFD the font's default "
       "character 0x0000\n",
       cp_of_a_and_fffd},
      {"box.pcf -r 0x41",
       "2 ranges, default character 0xFFFD, the font's default character 0x0000 added under U+FFFD",
       "{{5,2},{0x40,0xA0}}, // 0x0041\n{{5,2},{0xE0,0xE0}}, // 0xFFFD the font's default "
       "character 0x0000\n",
       cp_of_a_and_fffd},
      {"fffd.bdf -r 0x41", "2 ranges, default character 0xFFFD, the font's U+FFFD, added",
       "{{5,2},{0x40,0xA0}}, // 0x0041\n{{5,2},{0xA0,0x40}}, // 0xFFFD the font's U+FFFD\n",
       cp_of_a_and_fffd},
      {"fffd.bdf -r 0x41,0xFFFD", "2 ranges, default character 0xFFFD, the font's U+FFFD",
       "{{5,2},{0x40,0xA0}}, // 0x0041\n{{5,2},{0xA0,0x40}}, // 0xFFFD\n", cp_of_a_and_fffd},
  };
  for (const Case& c : cases) {
    if (!pcf && c.args.find(".pcf") != std::string::npos) continue;
    const RunResult r = run_import(dir.path(), "font " + c.args + " -o a.sym");
    ASSERT_EQ(r.status, 0) << c.args << ": " << r.out;
    EXPECT_NE(r.out.find("\nCodepage \"a.cp\": " + c.cp_line + "\nWrote"), std::string::npos)
        << c.args << ": " << r.out;
    EXPECT_EQ(symbol_lines(TempDir::read(dir.file("a.sym"))), c.symbols) << c.args;
    EXPECT_EQ(TempDir::read(dir.file("a.cp")), c.cp) << c.args;
    import_test::read_back(dir.file("a.sym"));
  }
  // An outline font's glyph 0, the box it draws for what it lacks (its own
  // U+FFFD is not looked up when the codes are the font's own), in the cell
  // of the letters.
  const RunResult r =
      run_import(dir.path(), std::string("font ") + kDejaVuSans +
                                 " --size 12 --encoding native -r 0x41-0x5A,0x61-0x7A -o a.sym");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("default character 0xFFFD, the font's missing-glyph box (glyph 0) added "
                       "under U+FFFD\n"),
            std::string::npos)
      << r.out;
  const std::string sym = symbol_lines(TempDir::read(dir.file("a.sym")));
  EXPECT_EQ(sym.substr(sym.rfind("// ")), "// 0xFFFD the font's missing-glyph box (glyph 0)\n");
  // Without a codepage there is no default character to add.
  EXPECT_EQ(run_import(dir.path(), "font box.bdf -r 0x41 --no-cp -o b.sym").status, 0);
  EXPECT_EQ(symbol_lines(TempDir::read(dir.file("b.sym"))), "{{5,2},{0x40,0xA0}}, // 0x0041\n");
}

// Where the font's own symbol for missing characters would make every
// symbol higher or wider, a box is drawn in the cell the selected glyphs
// need instead: no larger than the widest of them, a column in from each
// side, one pixel thick.
TEST(ImportDefaults, TheAddedDefaultCharacterNeverEnlargesTheSymbols) {
  TempDir dir;
  // A 3 x 4 "A" in a 5-pixel advance, and a box 6 x 6 that reaches below
  // the baseline, in a 7-pixel advance.
  const std::string a = glyph("A", 0x41, 5, "3 4 0 0", "40\nA0\nE0\nA0\n");
  dir.write("big.bdf", with_default_char(
                           bdf(glyph("box", 0, 7, "6 6 0 -2", "FC\n84\n84\n84\n84\nFC\n") + a), 0));
  struct Case {
    std::string args;
    std::string symbols;
  };
  const std::string drawn = " // 0xFFFD a box for missing characters\n";
  const Case cases[] = {
      {"-r 0x41",
       "{{5,4},{0x40,0xA0,0xE0,0xA0}}, // 0x0041\n{{5,4},{0x70,0x50,0x50,0x70}}," + drawn},
      {"-r 0x41 --bpp 2",
       "{{0,2,5,4},{0xCF,0xC0,0x33,0xC0,0x03,0xC0,0x33,0xC0}}, // 0x0041\n"
       "{{0,2,5,4},{0xC0,0xC0,0xCC,0xC0,0xCC,0xC0,0xC0,0xC0}}," +
           drawn},
      // --height font: the box takes the font's rows.
      {"-r 0x41 --height font",
       "{{5,8},{0x00,0x00,0x40,0xA0,0xE0,0xA0,0x00,0x00}}, // 0x0041\n"
       "{{5,8},{0x70,0x50,0x50,0x50,0x50,0x50,0x50,0x70}}," +
           drawn},
      {"-r 0x41 --width fixed=6",
       "{{6,4},{0x40,0xA0,0xE0,0xA0}}, // 0x0041\n{{6,4},{0x78,0x48,0x48,0x78}}," + drawn},
  };
  for (const Case& c : cases) {
    const RunResult r = run_import(dir.path(), "font big.bdf " + c.args + " -o a.sym");
    ASSERT_EQ(r.status, 0) << c.args << ": " << r.out;
    EXPECT_NE(r.out.find("\nCodepage \"a.cp\": 2 ranges, default character 0xFFFD, a box added "
                         "under U+FFFD (the font's default character 0x0000 would make every "
                         "symbol larger)\nWrote"),
              std::string::npos)
        << c.args << ": " << r.out;
    EXPECT_EQ(symbol_lines(TempDir::read(dir.file("a.sym"))), c.symbols) << c.args;
    import_test::read_back(dir.file("a.sym"));
  }
}

TEST(ImportDefaults, TheFewGlyphsThatMakeEverySymbolLargerAreNamed) {
  // Twenty glyphs of 6 rows and 6 pixels (one byte a row), a tall one
  // reaching 2 rows above and below them, and a wide one of 21 pixels.
  std::string twenty;
  for (int c = 0x41; c <= 0x54; ++c)
    twenty += glyph("g" + std::to_string(c), c, 6, "5 6 0 0", "F8\n88\n88\n88\n88\nF8\n");
  const std::string tall = glyph("tall", 0xC4, 6, "5 10 0 -2", [] {
    std::string rows;
    for (int i = 0; i < 10; ++i) rows += "F8\n";
    return rows;
  }());
  TempDir dir;
  dir.write("o.bdf", bdf(twenty + tall +
                         glyph("wide", 0xC5, 21, "20 6 0 0",
                               "FFFFF0\nFFFFF0\nFFFFF0\nFFFFF0\nFFFFF0\nFFFFF0\n")));
  struct Case {
    const char* range;
    const char* line;  // the report's line after the shape line; empty: none
  };
  const Case cases[] = {
      {"0x41-0x54,0xC4",
       "1 glyph makes every symbol 10 rows high and 10 bytes where the others need 6 rows and 6 "
       "bytes: 0x00C4; --height font takes the font's 8 rows and clips what lies beyond, or leave "
       "it out"},
      {"0x41-0x54,0xC5",
       "1 glyph makes every symbol 21 pixels wide and 18 bytes where the others need 6 pixels and "
       "6 bytes: 0x00C5; leave it out"},
      {"0x41-0x54,0xC4-0xC5",
       "2 glyphs make every symbol 10 rows high, 21 pixels wide and 30 bytes where the others need "
       "6 rows, 6 pixels and 6 bytes: 0x00C4-0x00C5; --height font takes the font's 8 rows and "
       "clips what lies beyond, or leave them out"},
      // One glyph in ten at most: in a font of 9 the tall one is not "a few".
      {"0x41-0x48,0xC4", ""},
  };
  for (const Case& c : cases) {
    const RunResult r =
        run_import(dir.path(), std::string("font o.bdf --no-cp -r ") + c.range + " -o a.sym");
    ASSERT_EQ(r.status, 0) << r.out;
    const size_t shape = r.out.find(" bit per pixel (b&w, a set bit is ink)\n");
    ASSERT_NE(shape, std::string::npos) << r.out;
    const size_t next = r.out.find('\n', shape) + 1;
    const std::string line = r.out.substr(next, r.out.find('\n', next) - next);
    EXPECT_EQ(line, *c.line ? c.line : "Wrote \"a.sym\"") << c.range;
    // The .sym file's comments are the report without this line.
    EXPECT_EQ(TempDir::read(dir.file("a.sym")).find("glyph"), std::string::npos) << c.range;
  }
}

TEST(ImportDefaults, FallbackFaceOfACollection) {
  TempDir dir;
  const std::string font = bdf(kA);
  dir.write("t.bdf", bdf(glyph("B", 0x42, 5, "3 2 0 0", "E0\nE0\n")));
  dir.write("odd:1", font);  // a file whose whole name looks like FILE:FACE
  RunResult r = run_import(dir.path(), "font t.bdf -r 0x41-0x42 --fallback odd:1 -o a.sym");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("\nFallback \"odd:1\" face 0: Tiny Regular, 8 px strike\n"),
            std::string::npos)
      << r.out;
  const char noto[] = "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc";
  if (!std::filesystem::exists(noto)) GTEST_SKIP() << "needs Debian's fonts-noto-cjk";
  r = run_import(dir.path(), std::string("font ") + kDejaVuSans + " --size 16 --symbols 'A한' " +
                                 "--fallback " + noto + ":1 --no-cp -o a.sym");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("\nFallback \"" + std::string(noto) +
                       "\" face 1: Noto Sans CJK KR Regular, 16 px\n"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find(" --fallback \"" + std::string(noto) + ":1\""), std::string::npos);
}

}  // namespace
