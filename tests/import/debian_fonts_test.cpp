// tralk-import on Debian's own fonts, where they hold what the tests need:
// console fonts (console-setup-linux, psf-unifont) and their glyph counts,
// fallbacks of another size, and the default character at small sizes
// (fonts-dejavu-core, fonts-noto-core). Each test is skipped, saying which
// package it needs, where a font is absent.
#include <gtest/gtest.h>

#include <filesystem>

#include "import/import_helpers.h"

namespace fs = std::filesystem;

namespace {

using import_test::freetype_version;
using import_test::kDejaVuSans;
using import_test::run_import;

const std::string kConsole = "/usr/share/consolefonts/";
const std::string kTerminus12 = kConsole + "Lat2-Terminus12x6.psf.gz";
const std::string kUnifont = kConsole + "Unifont-APL8x16.psf.gz";
const char kMandaic[] = "/usr/share/fonts/truetype/noto/NotoSansMandaic-Regular.ttf";

// The first absent of the files, or empty.
std::string absent(const std::vector<std::string>& files) {
  for (const std::string& f : files)
    if (!fs::exists(f)) return f;
  return "";
}

// --list counts a console font's own glyphs, and its Unicode table's
// characters apart (FreeType's count is those characters and one more).
TEST(DebianFonts, ConsoleFontsListTheirOwnGlyphs) {
  const struct {
    std::string font;
    std::string lines;  // after the "Font" line
  } cases[] = {
      {kConsole + "Lat2-Terminus28x14.psf.gz",
       "Face 0: Lat2-Terminus28x14 Regular, PSF2, bitmap, 256 glyphs\n"
       "  strikes: 28 px (height 28)\n  Unicode table: 526 characters\n"},
      {kConsole + "FullCyrSlav-Terminus32x16.psf.gz",
       "Face 0: FullCyrSlav-Terminus32x16 Regular, PSF2, bitmap, 512 glyphs\n"
       "  strikes: 32 px (height 32)\n  Unicode table: 425 characters\n"},
      {kUnifont,
       "Face 0: Unifont-APL8x16 Regular, PSF1, bitmap, 512 glyphs\n"
       "  strikes: 16 px (height 16)\n  Unicode table: 533 characters\n"},
  };
  std::vector<std::string> fonts;
  for (const auto& c : cases) fonts.push_back(c.font);
  if (const std::string missing = absent(fonts); !missing.empty())
    GTEST_SKIP() << missing << " is absent (console-setup-linux, psf-unifont)";
  TempDir dir;
  for (const auto& c : cases) {
    const RunResult r = run_import(dir.path(), "font " + c.font + " --list");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "Font \"" + c.font + "\": 1 face\n" + c.lines +
                         "  charmap 0: unicode (platform 3, encoding 1), the codes of --encoding "
                         "native\n  glyph names: none\n");
  }
}

// A fallback is used at the font's size: a bitmap fallback without that
// strike is refused, an outline fallback is set to it.
TEST(DebianFonts, FallbacksTakeTheFontsSize) {
  if (const std::string missing = absent({kTerminus12, kUnifont, kDejaVuSans}); !missing.empty())
    GTEST_SKIP() << missing << " is absent (console-setup-linux, psf-unifont, fonts-dejavu-core)";
  TempDir dir;
  RunResult r = run_import(dir.path(),
                           "font " + kTerminus12 + " --fallback " + kUnifont + " -r 0x41 -o t.sym");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "tralk-import font: font \"" + kUnifont +
                       "\" has no 12 px strike, the size of \"" + kTerminus12 +
                       "\"; its strikes: 16 px\n");
  EXPECT_EQ(import_test::files_in(dir.path()), std::set<std::string>{});
  r = run_import(dir.path(),
                 "font " + kTerminus12 + " --fallback " + kDejaVuSans + " -r 0x41,0x416 -o t.sym");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("\nFallback \"" + std::string(kDejaVuSans) +
                       "\" face 0: DejaVu Sans Book, 12 px\n"),
            std::string::npos)
      << r.out;
  import_test::read_back(dir.file("t.sym"));
}

// The default character added never makes the symbols larger: DejaVu's
// U+FFFD is 12 x 12 pixels at 12 px, the digits 8 x 9.
TEST(DebianFonts, TheDefaultCharacterKeepsDejaVuDigitsSmall) {
  TempDir dir;
  const RunResult r = run_import(
      dir.path(), std::string("font ") + kDejaVuSans + " --size 12 -r 0x30-0x39 -o d.sym");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.out, "Made by tralk-import from \"" + std::string(kDejaVuSans) +
                       "\" face 0: DejaVu Sans Book, 12 px, FreeType " + freetype_version() +
                       "\nOptions: --size 12 -r 0x30-0x39 --encoding unicode --bpp 1 --hinting "
                       "native --height ink --width advance\n"
                       "11 symbols, 9 rows (9 above the baseline), 8 pixels wide, 9 bytes each, 1 "
                       "bit per pixel (b&w, a set bit is ink)\n"
                       "Codepage \"d.cp\": 2 ranges, default character 0xFFFD, a box added under "
                       "U+FFFD (the font's U+FFFD would make every symbol larger)\n"
                       "Wrote \"d.sym\" and \"d.cp\"\n");
  const std::string sym = TempDir::read(dir.file("d.sym"));
  EXPECT_EQ(sym.substr(sym.rfind("\n{{") + 1),
            "{{8,9},{0x7E,0x42,0x42,0x42,0x42,0x42,0x42,0x42,0x7E}}, // 0xFFFD a box for missing "
            "characters\n");
}

// Noto Sans Mandaic's missing-glyph box is a row taller than its letters.
TEST(DebianFonts, TheDefaultCharacterKeepsNotoSansMandaicRows) {
  if (!fs::exists(kMandaic)) GTEST_SKIP() << kMandaic << " is absent (fonts-noto-core)";
  TempDir dir;
  const RunResult r = run_import(
      dir.path(), std::string("font ") + kMandaic + " --size 16 -r 0x840-0x85B --quiet -o m.sym");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.out, "");
  const std::string sym = TempDir::read(dir.file("m.sym"));
  EXPECT_NE(sym.find("\n// 29 symbols, 17 rows (11 above the baseline), 2 to 18 pixels wide"),
            std::string::npos)
      << sym.substr(0, 600);
}

}  // namespace
