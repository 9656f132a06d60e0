// What an import leaves for the user: the same bytes on every run whatever
// the environment, the same font from BDF, PCF and gzipped PCF, a listing,
// files written through links, and an image whose text the inspector draws
// as the font's bitmaps say.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "import/import_helpers.h"
#include "inspect/inspect_helpers.h"

namespace fs = std::filesystem;

namespace {

using import_test::bdf;
using import_test::files_in;
using import_test::kDejaVuSans;
using import_test::run_import;
using tralk::inspector::kSheetMargin;

// A, g (ink left of the origin and below the baseline), space and i.
const std::string kFont =
    bdf("STARTCHAR space\nENCODING 32\nSWIDTH 500 0\nDWIDTH 3 0\nBBX 0 0 0 0\nBITMAP\nENDCHAR\n"
        "STARTCHAR A\nENCODING 65\nSWIDTH 500 0\nDWIDTH 5 0\nBBX 5 6 0 0\nBITMAP\n"
        "20\n50\n88\nF8\n88\n88\nENDCHAR\n"
        "STARTCHAR g\nENCODING 103\nSWIDTH 500 0\nDWIDTH 4 0\nBBX 4 5 -1 -2\nBITMAP\n"
        "70\n90\n70\n10\n60\nENDCHAR\n"
        "STARTCHAR i\nENCODING 105\nSWIDTH 500 0\nDWIDTH 2 0\nBBX 1 5 0 0\nBITMAP\n"
        "80\n00\n80\n80\n80\nENDCHAR\n");

// The symbol lines of a .sym file, without its comments.
std::string symbol_lines(const std::string& sym) {
  return sym.substr(std::min(sym.size(), sym.find("\n{{") + 1));
}

TEST(ImportOutputs, SameBytesOnEveryRunAndInEveryEnvironment) {
  // Settings that change how FreeType hints and darkens glyphs, which the
  // importer must override.
  const std::string env =
      "FREETYPE_PROPERTIES='truetype:interpreter-version=35 cff:no-stem-darkening=0 "
      "autofitter:no-stem-darkening=0 type1:no-stem-darkening=0 cff:hinting-engine=freetype "
      "type1:hinting-engine=freetype t1cid:hinting-engine=freetype'";
  const std::string font = std::string(kDejaVuSans);
  for (const char* options : {"--bpp 1", "--bpp 4", "--bpp 4 --hinting light", "--bpp 8"}) {
    TempDir dir;
    const std::string args =
        "font " + font + " --size 13 -r 0x20-0x7E,0x400-0x45F " + options + " -o a.sym";
    std::string first;
    for (const std::string& e : {std::string(), std::string(), env}) {
      const RunResult r = run_import(dir.path(), args, e);
      ASSERT_EQ(r.status, 0) << r.out;
      const std::string sym = TempDir::read(dir.file("a.sym"));
      if (first.empty()) first = sym + TempDir::read(dir.file("a.cp"));
      EXPECT_TRUE(sym + TempDir::read(dir.file("a.cp")) == first) << options << " " << e;
    }
  }
}

TEST(ImportOutputs, PcfAndGzippedPcfGiveTheBdfSymbols) {
  if (std::system("command -v bdftopcf >/dev/null") != 0)
    GTEST_SKIP() << "bdftopcf (Debian xfonts-utils) is not installed: no PCF font to read";
  TempDir dir;
  dir.write("t.bdf", kFont);
  const std::string make =
      "cd " + shell_quote(dir.str()) + " && bdftopcf -o t.pcf t.bdf && gzip -n -c t.pcf > t.pcf.gz";
  ASSERT_EQ(std::system(make.c_str()), 0);
  std::string want;
  for (const char* font : {"t.bdf", "t.pcf", "t.pcf.gz"}) {
    const RunResult r =
        run_import(dir.path(), std::string("font ") + font + " -r 0x20-0x7E --bpp 2 -o a.sym");
    ASSERT_EQ(r.status, 0) << font << ": " << r.out;
    const std::string symbols = symbol_lines(TempDir::read(dir.file("a.sym")));
    if (want.empty()) want = symbols;
    EXPECT_EQ(symbols, want) << font;
  }
  EXPECT_EQ(std::count(want.begin(), want.end(), '\n'), 4);
}

TEST(ImportOutputs, ListsFacesStrikesAndCharmaps) {
  TempDir dir;
  dir.write("t.bdf", kFont);
  dir.write("k.bdf", bdf("", "KOI8", "R"));
  RunResult r = run_import(dir.path(), "font t.bdf --list");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "Font \"t.bdf\": 1 face\n"
            "Face 0: Tiny Regular, BDF, bitmap, 5 glyphs\n"
            "  strikes: 8 px (height 8)\n"
            "  charmap 0: unicode (platform 3, encoding 1), the codes of --encoding native\n"
            "  glyph names: none\n");
  r = run_import(dir.path(), "font k.bdf --list");
  EXPECT_NE(r.out.find("\n  charmap 0: the font's own codes (platform 0, encoding 0), the codes of "
                       "--encoding native\n"),
            std::string::npos)
      << r.out;
  r = run_import(dir.path(), std::string("font ") + kDejaVuSans + " --list");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.substr(0, r.out.find(" glyphs\n")),
            "Font \"" + std::string(kDejaVuSans) +
                "\": 1 face\nFace 0: DejaVu Sans Book, TrueType, scalable, 6253")
      << r.out;
  EXPECT_NE(r.out.find("\n  strikes: none\n  charmap 0: unicode (platform 0, encoding 3), "),
            std::string::npos);
  EXPECT_EQ(files_in(dir.path()), (std::set<std::string>{"k.bdf", "t.bdf"}));
}

TEST(ImportOutputs, CodepageNamesAndFilesThroughLinks) {
  TempDir dir;
  dir.write("t.bdf", kFont);
  RunResult r = run_import(dir.path(), "font t.bdf -r 0x41 --no-cp -o plain.sym");
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.out.substr(r.out.rfind("Wrote")), "Wrote \"plain.sym\"\n");
  const std::string plain = TempDir::read(dir.file("plain.sym"));
  EXPECT_EQ(plain.substr(0, plain.find('\n')), "// tralk symbol font without a codepage");
  EXPECT_EQ(import_test::read_back(dir.file("plain.sym")).has_codepage, false);

  // The outputs are links into another folder, and a.cp may only be read by
  // its owner and group.
  fs::create_directory(dir.path() / "real");
  dir.write("real/a.sym", "old");
  dir.write("real/letters.cp", "old");
  fs::permissions(dir.path() / "real/letters.cp", fs::perms(0640));
  fs::create_symlink("real/a.sym", dir.path() / "a.sym");
  fs::create_symlink("real/letters.cp", dir.path() / "letters.cp");
  r = run_import(dir.path(), "font t.bdf -r 0x41 --cp letters -o a.sym");
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.out.substr(r.out.rfind("Wrote")), "Wrote \"a.sym\" and \"letters.cp\"\n");
  EXPECT_TRUE(fs::is_symlink(dir.path() / "a.sym"));
  EXPECT_TRUE(fs::is_symlink(dir.path() / "letters.cp"));
  const std::string sym = TempDir::read(dir.file("real/a.sym"));
  EXPECT_EQ(sym.substr(0, sym.find('\n')), "// CP<letters.cp>");
  EXPECT_EQ(TempDir::read(dir.file("real/letters.cp")),
            "{1, 65},  /* number of ranges, default character */\n{\n"
            "  {65, 65, 0}  /* first code, last code, symbol index of the first code */\n}\n");
  EXPECT_EQ(fs::status(dir.path() / "real/letters.cp").permissions(), fs::perms(0640));
  EXPECT_EQ(files_in(dir.path() / "real"), (std::set<std::string>{"a.sym", "letters.cp"}));
}

// The inspector draws "Ag iZ" from the image that tralk builds: Z is not in
// the font, so it is drawn as the default character, the space.
TEST(ImportOutputs, InspectorDrawsTheTextAsTheFontHasIt) {
  // The glyphs as the BDF font draws them in the 8-row cell, "#" for ink.
  const std::vector<std::string> a = {"..#..", ".#.#.", "#...#", "#####",
                                      "#...#", "#...#", ".....", "....."};
  const std::vector<std::string> g = {".....", ".....", ".....", ".###.",
                                      "#..#.", ".###.", "...#.", ".##.."};
  const std::vector<std::string> i = {"..", "#.", "..", "#.", "#.", "#.", "..", ".."};
  std::vector<std::string> rows;
  for (size_t y = 0; y < 8; ++y) rows.push_back(a[y] + g[y] + "..." + i[y] + "...");
  for (const char* depth : {"1", "4", "8"}) {
    TempDir dir;
    dir.write("t.bdf", kFont);
    RunResult r = run_import(
        dir.path(), std::string("font t.bdf -r 0x20,0x41,0x67,0x69 -o t.sym --bpp ") + depth);
    ASSERT_EQ(r.status, 0) << r.out;
    dir.write("t.vfg", "t.bin\nt.sym\n");
    r = run_tralk(dir.path(), "t.vfg");
    ASSERT_EQ(r.status, 0) << r.out;
    // 8-bit pixels are grey levels only when the inspector is told so.
    const std::string grey = std::string(depth) == "8" ? " --grey" : "";
    r = inspect_test::run_inspect_exe(dir.path(),
                                      "t.bin --font 0 --scale 1 --png t.png --text 'Ag iZ'" + grey);
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("\nText picture \"t.png\": 34 x 24 pixels, scale 1; 5 characters, 1 "
                         "through the default character\n\nNo problems found\n"),
              std::string::npos)
        << r.out;
    const std::string png = TempDir::read(dir.file("t.png"));
    const RgbPicture img = inspect_test::decode_png(png.data(), png.size());
    ASSERT_EQ(img.width, 34u);
    for (uint32_t y = 0; y < 8; ++y)
      for (uint32_t x = 0; x < 18; ++x) {
        const uint8_t v = rows[y][x] == '#' ? 0 : 255;
        const RGBTRIPLET got = img.at(kSheetMargin + x, kSheetMargin + y);
        EXPECT_TRUE(got == (RGBTRIPLET{v, v, v}))
            << depth << " bits, pixel " << x << "," << y << ": " << int(got.r);
      }
  }
}

}  // namespace
