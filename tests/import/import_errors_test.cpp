// Every way an import can fail: the one-line message, the exit status, and
// that no file is left behind and none replaced.
#include <gtest/gtest.h>

#include <filesystem>

#include "import/import_helpers.h"

namespace {

using import_test::bdf;
using import_test::files_in;
using import_test::kDejaVuSans;
using import_test::run_import;

const std::string kFont =
    bdf("STARTCHAR A\nENCODING 65\nSWIDTH 500 0\nDWIDTH 5 0\nBBX 1 1 0 0\nBITMAP\n80\nENDCHAR\n");
// A font in a character set that iconv does not know.
const std::string kOwnCodes =
    bdf("STARTCHAR a\nENCODING 193\nSWIDTH 500 0\nDWIDTH 5 0\nBBX 1 1 0 0\nBITMAP\n80\nENDCHAR\n",
        "OWN", "CODES");

// Glyphs for codes first to last, skipping 0xFFFF (FreeType's BDF reader
// takes it for no code).
std::string one_pixel_glyphs(unsigned first, unsigned last) {
  std::string glyphs;
  for (unsigned c = first; c <= last; ++c)
    if (c != 0xFFFF)
      glyphs += "STARTCHAR g" + std::to_string(c) + "\nENCODING " + std::to_string(c) +
                "\nSWIDTH 500 0\nDWIDTH 1 0\nBBX 1 1 0 0\nBITMAP\n80\nENDCHAR\n";
  return glyphs;
}

struct Case {
  std::string args;
  int status;
  std::string message;  // after "tralk-import font: "
};

const std::string kDejaVu = kDejaVuSans;

const Case kCases[] = {
    // Fonts that cannot be used.
    {"missing.ttf -o a.sym", 1, "font \"missing.ttf\" does not exist"},
    {"t.bdf --fallback missing.ttf:2 -o a.sym", 1, "font \"missing.ttf\" does not exist"},
    {"folder.cp -o a.sym", 1, "cannot read font \"folder.cp\": Is a directory"},
    {"junk.ttf -o a.sym", 1, "cannot open font \"junk.ttf\": unknown file format"},
    {kDejaVu + " --face 1 --size 16 -o a.sym", 1,
     "font \"" + kDejaVu + "\" has 1 face: there is no face 1"},
    {kDejaVu + " -o a.sym", 1,
     "font \"" + kDejaVu + "\" is scalable: give its size with --size PX"},
    {"t.bdf --size 12 -o a.sym", 1, "font \"t.bdf\" has no 12 px strike; its strikes: 8 px"},
    // A fallback is used at the font's size, never at its own.
    {"t.bdf --fallback t16.bdf -o a.sym", 1,
     "font \"t16.bdf\" has no 8 px strike, the size of \"t.bdf\"; its strikes: 16 px"},
    {"t.bdf --size 8 --fallback t16.bdf -o a.sym", 1,
     "font \"t16.bdf\" has no 8 px strike; its strikes: 16 px"},
    {"k.bdf -o a.sym", 1,
     "font \"k.bdf\" is in character set OWN-CODES, which iconv does not know; --encoding native "
     "reads its own codes"},
    {"t.bdf --fallback k.bdf -o a.sym", 1,
     "font \"k.bdf\" is in character set OWN-CODES, which iconv does not know; --encoding native "
     "reads its own codes"},
    // Selections that give no font.
    {"t.bdf -r 0x5000 -o a.sym", 1, "no glyph at all: the font has none of the codes selected"},
    {"t.bdf -r 0x41-0x43 --missing error -o a.sym", 1,
     "2 codes have no glyph in the font: 0x0042-0x0043"},
    {"huge.bdf -r 0x41 -o a.sym", 1,
     "cannot render the glyph of 0x0041 in font \"huge.bdf\": it is 200 x 1 pixels with an "
     "advance of 5, far larger than its font's size (a damaged font?)"},
    {"nopixels.bdf -r 0x41 -o a.sym", 1,
     "cannot render the glyph of 0x0041 in font \"nopixels.bdf\": it has a size but no pixels (a "
     "damaged font?)"},
    {"tall.bdf -r 0x41 -o a.sym", 1,
     "font \"tall.bdf\" claims an ascent of 1000 and a descent of 2 pixels at 8 px (a damaged "
     "font?)"},
    // Refused after a few glyphs, not after rendering them all: the damaged
    // glyph of the fallback, whose code comes last, is never reached.
    {kDejaVu + " --size 1000 --bpp 8 -r 0x20-0xFFFF --fallback big.bdf -o a.sym", 1,
     "at 1000 px the 5371 symbols would take more than 4294967295 bytes, all that an image holds "
     "(861650 bytes each at least: 907 rows, 950 pixels wide, 8 bits per pixel); a smaller size, "
     "fewer codes, or fewer bits per pixel"},
    {"cut.psf -o a.sym", 1,
     "cannot read console font \"cut.psf\": its header claims 256 glyphs of 2 bytes, more than "
     "the file's 40 bytes hold"},
    {"cut.psf.gz -o a.sym", 1,
     "cannot unpack font \"cut.psf.gz\": the compressed data is cut short"},
    {"t.bdf --fallback t.bdf:3 -o a.sym", 1, "font \"t.bdf\" has 1 face: there is no face 3"},
    {"t.bdf -r 0x41 --defchar Z -o a.sym", 1,
     "the default character 0x005A is not among the symbols"},
    // 65536 glyphs, in two fonts: FreeType numbers a BDF font's glyphs in 16 bits.
    {"low.bdf --fallback high.bdf -r '0-0xFFFE,0x10000=>0xFFFF' -o a.sym", 1,
     "65536 symbols selected; a font holds at most 65535"},
    // Outputs that cannot be written.
    {"t.bdf -r 0x41 -o nodir/a.sym", 1, "cannot write \"nodir/a.sym\": No such file or directory"},
    {"t.bdf -r 0x41 -o a.sym --cp folder", 1, "cannot write \"folder.cp\": it is a folder"},
    // Bad command lines.
    {"", 2, "no font file given"},
    {"t.bdf", 2, "no output file given (-o OUT.sym)"},
    {"t.bdf -o a.txt", 2, "the output file \"a.txt\" must be named NAME.sym"},
    {"t.bdf other.bdf -o a.sym", 2,
     "more than one font file given (\"t.bdf\" and \"other.bdf\"); add fonts with --fallback"},
    {"t.bdf --bogus -o a.sym", 2, "unknown option \"--bogus\""},
    {"t.bdf -o", 2, "option -o needs a value"},
    {"t.bdf --bpp 3 -o a.sym", 2, "option --bpp takes 1, 2, 4 or 8, not \"3\""},
    {"t.bdf --size 0 -o a.sym", 2, "option --size needs a number from 1 to 1000, not \"0\""},
    {"t.bdf --invert -o a.sym", 2, "--invert needs --bpp 2, 4 or 8"},
    {"t.bdf --width fixed=0 -o a.sym", 2,
     "option --width takes advance or fixed=N (N from 1 to 65535), not \"fixed=0\""},
    {"t.bdf --hinting full -o a.sym", 2,
     "option --hinting takes native, light, none, not \"full\""},
    {"t.bdf --encoding NOPE -o a.sym", 2,
     "unknown encoding \"NOPE\" (iconv -l lists the code pages)"},
    {"t.bdf --encoding UTF-16 -o a.sym", 2, "encoding \"UTF-16\" is not a single-byte code page"},
    {"t.bdf --cp x/y -o a.sym", 2,
     "--cp takes a file name without a folder, \">\" or control characters, not \"x/y\""},
    {"t.bdf --cp x --no-cp -o a.sym", 2, "--cp and --no-cp cannot be used together"},
    {"t.bdf --encoding native --symbols A -o a.sym", 2,
     "--symbols needs --encoding unicode or a code page"},
    {"t.bdf -r 0x20- -o a.sym", 2,
     "malformed range \"0x20-\": write codes as 0x41, U+0041 or 65, runs as FIRST-LAST, "
     "remapped runs as FIRST-LAST=>TO"},
    {"t.bdf -r 0x7E-0x20 -o a.sym", 2, "range \"0x7E-0x20\" runs backwards"},
    {"t.bdf -r 0x1F600-0x1F64F -o a.sym", 2,
     "range \"0x1F600-0x1F64F\" reaches above 0xFFFF, the largest codepage code: remap it, as in "
     "0x1F600-0x1F64F=>0xE000"},
    {"t.bdf -r '0x1F600-0x1F64F=>0xFFF0' -o a.sym", 2,
     "range \"0x1F600-0x1F64F=>0xFFF0\" is remapped past 0xFFFF, the largest codepage code"},
    {"t.bdf --symbols 😀 -o a.sym", 2,
     "character U+1F600 is above 0xFFFF, the largest codepage code: select it with a remapped "
     "run, as in -r 0x1F600=>0xE000"},
    {"t.bdf --defchar 😀 -o a.sym", 2,
     "character U+1F600 is above 0xFFFF, the largest codepage code: give --defchar the code -r "
     "remaps it to"},
    {"t.bdf -r '0x41=>0x42,0x42' -o a.sym", 2,
     "code 0x42 is selected twice, for 0x41 and for 0x42"},
    {"t.bdf --encoding cp1251 -r 0x20-0x100 -o a.sym", 2,
     "with --encoding cp1251 codes are bytes, 0 to 0xFF; 0x20-0x100 is not"},
    {"t.bdf --encoding cp1251 --symbols 中 -o a.sym", 2,
     "character U+4E2D is not in code page cp1251"},
    {"t.bdf --defchar ab -o a.sym", 2,
     "--defchar takes one character or a code up to 0xFFFF, not \"ab\""},
};

TEST(ImportErrors, OneLineAndNothingLeft) {
  TempDir dir;
  dir.write("t.bdf", kFont);
  dir.write("k.bdf", kOwnCodes);
  std::string t16 = kFont;
  t16.replace(t16.find("SIZE 8 "), 7, "SIZE 16 ");
  t16.replace(t16.find("PIXEL_SIZE 8"), 12, "PIXEL_SIZE 16");
  t16.replace(t16.find("FONT_ASCENT 6"), 13, "FONT_ASCENT 12");
  t16.replace(t16.find("FONT_DESCENT 2"), 14, "FONT_DESCENT 4");
  dir.write("t16.bdf", t16);
  dir.write("low.bdf", bdf(one_pixel_glyphs(0, 0x7FFF)));
  dir.write("high.bdf", bdf(one_pixel_glyphs(0x8000, 0x10000)));
  dir.write("junk.ttf", "not a font\n");
  // A glyph whose bounding box line is damaged: FreeType gives it a size
  // but no pixels (found by fuzz_import_font).
  dir.write("nopixels.bdf", bdf("STARTCHAR A\nENCODING 65\nSWIDTH 500 0\nDWIDTH 4 0\nBBX 4 5 x\n"
                                "ENDCHAR\n"));
  std::string tall = kFont;
  tall.replace(tall.find("FONT_ASCENT 6"), 13, "FONT_ASCENT 1000");
  dir.write("tall.bdf", tall);
  dir.write("huge.bdf", bdf("STARTCHAR A\nENCODING 65\nSWIDTH 500 0\nDWIDTH 5 0\nBBX 200 1 0 0\n"
                            "BITMAP\n" +
                            std::string(50, 'F') + "\nENDCHAR\n"));
  std::string big =
      bdf("STARTCHAR x\nENCODING 65520\nSWIDTH 500 0\nDWIDTH 4 0\nBBX 4 5 x\n"
          "ENDCHAR\n");
  big.replace(big.find("SIZE 8 "), 7, "SIZE 1000 ");
  big.replace(big.find("PIXEL_SIZE 8"), 12, "PIXEL_SIZE 1000");
  dir.write("big.bdf", big);
  // A PSF2 header of 256 glyphs of 8 x 2 pixels, and 8 bytes of them.
  std::string psf = "\x72\xB5\x4A\x86";
  for (const uint32_t v : {0u, 32u, 0u, 256u, 2u, 2u, 8u})
    for (int i = 0; i < 4; ++i) psf += static_cast<char>(v >> (8 * i) & 0xFF);
  dir.write("cut.psf", psf + std::string(8, '\x18'));
  dir.write("psf", psf + std::string(512, '\x18'));
  const std::string gz =
      "cd " + shell_quote(dir.str()) + " && gzip -n -c psf | head -c 30 > cut.psf.gz && rm psf";
  ASSERT_EQ(std::system(gz.c_str()), 0);
  std::filesystem::create_directory(dir.path() / "folder.cp");
  // Outputs of an earlier run, which a failed run must leave as they are.
  dir.write("a.sym", "old sym");
  dir.write("a.cp", "old cp");
  const std::set<std::string> before = files_in(dir.path());
  for (const Case& c : kCases) {
    const RunResult r = run_import(dir.path(), "font " + c.args);
    EXPECT_EQ(r.status, c.status) << c.args;
    EXPECT_EQ(r.out, "tralk-import font: " + c.message + "\n") << c.args;
    EXPECT_EQ(files_in(dir.path()), before) << c.args;
    // Compared as a whole, not shown: a wrongly written font can be large.
    EXPECT_TRUE(TempDir::read(dir.file("a.sym")) == "old sym") << c.args;
    EXPECT_TRUE(TempDir::read(dir.file("a.cp")) == "old cp") << c.args;
  }
}

TEST(ImportErrors, SubcommandsAndHelp) {
  TempDir dir;
  struct Run {
    const char* args;
    int status;
    const char* starts;
  };
  const Run runs[] = {
      {"", 2, "Usage: tralk-import SUBCOMMAND [OPTIONS]\n\nSubcommands:\n  font    a TrueType"},
      {"--help", 0, "Usage: tralk-import SUBCOMMAND [OPTIONS]\n"},
      {"image x.png", 2,
       "tralk-import: unknown subcommand \"image\"; \"tralk-import --help\" lists them\n"},
      {"font --help", 0, "Usage: tralk-import font FONTFILE [OPTIONS] -o OUT.sym\n"},
  };
  for (const Run& run : runs) {
    const RunResult r = run_import(dir.path(), run.args);
    EXPECT_EQ(r.status, run.status) << run.args;
    EXPECT_EQ(r.out.substr(0, std::string(run.starts).size()), run.starts) << run.args;
  }
  EXPECT_TRUE(files_in(dir.path()).empty());
}

}  // namespace
