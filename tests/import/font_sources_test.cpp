// Fonts FreeType does not read on its own, or not by Unicode: console fonts
// (PSF1, PSF2) against an independent reading of their own tables, their
// reader on hand-made files, X11 bitmap fonts in other character sets
// selected by Unicode, and a font read through a pipe.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <thread>

#include "import/fonts/psf_font.h"
#include "import/import_helpers.h"

namespace fs = std::filesystem;

namespace {

using namespace std::string_literals;
using import_test::bdf;
using import_test::run_import;
using tralk::importer::PsfChar;
using tralk::importer::read_psf;

const char kConsoleFonts[] = "/usr/share/consolefonts";

// The symbol lines of a .sym file.
std::string symbol_lines(const std::string& sym) {
  return sym.substr(std::min(sym.size(), sym.find("\n{{") + 1));
}

TEST(ConsoleFonts, EveryCharacterIsTheGlyphItsOwnTableGives) {
  if (!fs::is_directory(kConsoleFonts) || std::system("command -v python3 >/dev/null") != 0)
    GTEST_SKIP() << "needs Debian's console-setup-linux and python3";
  TempDir dir;
  // PSF1 of 256 and 512 glyphs, PSF2 of 10 and 16 pixels wide.
  for (const char* name : {"Lat2-Terminus16", "Uni2-Fixed16", "Uni3-Terminus20x10",
                           "Lat15-TerminusBold32x16", "CyrSlav-VGA14"}) {
    const std::string font = std::string(kConsoleFonts) + "/" + name + ".psf.gz";
    const RunResult table =
        run_command(dir.path(), "python3 " + shell_quote(TRALK_IMPORT_TEST_DATA "/psf_table.py") +
                                    " " + shell_quote(font));
    ASSERT_EQ(table.status, 0) << table.out;
    const RunResult r = run_import(
        dir.path(), "font " + shell_quote(font) + " -r 0-0xFFFF --height font --no-cp -o a.sym");
    ASSERT_EQ(r.status, 0) << name << ": " << r.out;
    const std::string symbols = symbol_lines(TempDir::read(dir.file("a.sym")));
    EXPECT_GT(std::count(symbols.begin(), symbols.end(), '\n'), 200) << name;
    EXPECT_TRUE(symbols == table.out) << name;
    import_test::read_back(dir.file("a.sym"));
  }
}

// A PSF2 header of glyphs 8 x 2 (2 bytes each).
std::string psf2(uint32_t glyphs, uint32_t flags, uint32_t charsize = 2, uint32_t header = 32) {
  std::string out = "\x72\xB5\x4A\x86";
  for (const uint32_t v : {0u, header, flags, glyphs, charsize, 2u, 8u})
    for (int i = 0; i < 4; ++i) out += static_cast<char>(v >> (8 * i) & 0xFF);
  return out;
}

TEST(ConsoleFonts, ReaderTakesTablesAndSequencesAndChecksEverySize) {
  const std::string bitmaps = "\x18\x24\x42\x7E";
  struct Case {
    std::string bytes;
    std::vector<PsfChar> chars;  // none: refused with error
    size_t sequences;
    std::string error;
  };
  const Case cases[] = {
      // Glyph 0: "A" and the sequence e + U+0301; glyph 1: "é" and "Ω".
      {psf2(2, 1) + bitmaps +
           "A\xFE"
           "e\xCC\x81\xFF\xC3\xA9\xCE\xA9\xFF",
       {{0x41, 0}, {0xE9, 1}, {0x3A9, 1}},
       1,
       ""},
      // PSF1: 256 glyphs of 1 row, a table of 16-bit values, FFFE starting a sequence.
      {"\x36\x04\x02\x01"s + std::string(256, '\x81') +
           "\x41\x00\xFE\xFF\x42\x00\x43\x00\xFF\xFF"s + std::string(2 * 255, '\xFF'),
       {{0x41, 0}},
       1,
       ""},
      {psf2(2, 0) + bitmaps, {}, 0, ""},
      {psf2(3, 0) + bitmaps,
       {},
       0,
       "its header claims 3 glyphs of 2 bytes, more than the file's 36 bytes hold"},
      {psf2(2, 0, 3) + bitmaps, {}, 0, "its header claims glyphs of 8 x 2 pixels in 3 bytes each"},
      {psf2(2, 0, 2, 16) + bitmaps,
       {},
       0,
       "its header claims to be 16 bytes long, less than the 32 it has"},
      {psf2(2, 1) + bitmaps + "A\xFF", {}, 0, "its Unicode table ends inside the entry of glyph 1"},
      {psf2(2, 1) + bitmaps + "\xC3\xFF\xFF",
       {},
       0,
       "its Unicode table has a byte that is not UTF-8 in the entry of glyph 0"},
      {psf2(2, 1).substr(0, 20), {}, 0, "the file ends inside its header"},
  };
  for (const Case& c : cases) {
    const auto* data = reinterpret_cast<const uint8_t*>(c.bytes.data());
    const Outcome<tralk::importer::PsfFont> font = read_psf(data, c.bytes.size());
    if (!c.error.empty()) {
      EXPECT_FALSE(font.ok()) << c.error;
      EXPECT_EQ(font.error(), c.error);
      continue;
    }
    ASSERT_TRUE(font.ok()) << font.error();
    EXPECT_EQ(font->chars, c.chars) << c.bytes.size();
    EXPECT_EQ(font->sequences, c.sequences);
    EXPECT_EQ(font->bitmaps.size(), size_t{font->glyphs} * font->height * font->row_bytes());
  }
}

// A BDF font of one glyph, 5 x 3, at code in the charset given.
std::string one_glyph(const std::string& registry, const std::string& encoding, int code) {
  return bdf("STARTCHAR x\nENCODING " + std::to_string(code) +
                 "\nSWIDTH 500 0\nDWIDTH 6 0\nBBX 5 3 0 0\nBITMAP\nF8\n88\n70\nENDCHAR\n",
             registry, encoding);
}

TEST(CharsetFonts, SelectedByUnicodeThroughIconv) {
  if (std::system("command -v bdftopcf >/dev/null") != 0)
    GTEST_SKIP() << "bdftopcf (Debian xfonts-utils) is not installed: no PCF font to read";
  struct Case {
    const char* registry;
    const char* encoding;
    int code;             // as the font numbers it
    const char* symbols;  // the character it stands for
    const char* unicode;
  };
  // Each character's code in its set, as the sets' tables give them.
  const Case cases[] = {
      {"ISO8859", "2", 0xA1, "Ą", "0x0104"},        {"KOI8", "R", 0xE1, "А", "0x0410"},
      {"JISX0201.1976", "0", 0xB1, "ｱ", "0xFF71"},  {"JISX0208.1983", "0", 0x2422, "あ", "0x3042"},
      {"GB2312.1980", "0", 0x3021, "啊", "0x554A"}, {"KSC5601.1987", "0", 0x3021, "가", "0xAC00"},
  };
  TempDir dir;
  for (const Case& c : cases) {
    dir.write("c.bdf", one_glyph(c.registry, c.encoding, c.code));
    const std::string make = "cd " + shell_quote(dir.str()) + " && bdftopcf -o c.pcf c.bdf";
    ASSERT_EQ(std::system(make.c_str()), 0);
    const RunResult r = run_import(
        dir.path(), std::string("font c.pcf --symbols '") + c.symbols + "' --no-cp -o a.sym");
    ASSERT_EQ(r.status, 0) << c.registry << ": " << r.out;
    const std::string symbols = symbol_lines(TempDir::read(dir.file("a.sym")));
    EXPECT_EQ(symbols, std::string("{{6,3},{0xF8,0x88,0x70}}, // ") + c.unicode + "\n")
        << c.registry;
    EXPECT_NE(r.out.find(std::string("\"c.pcf\" face 0: Tiny Regular, 8 px strike, charset ") +
                         c.registry + "-" + c.encoding + " through iconv"),
              std::string::npos)
        << r.out;
  }
}

TEST(CharsetFonts, X11LatinTwoFontGivesTheUnicodeFontsGlyphs) {
  const std::string misc = "/usr/share/fonts/X11/misc/";
  if (!fs::exists(misc + "10x20-ISO8859-2.pcf.gz") || !fs::exists(misc + "10x20.pcf.gz"))
    GTEST_SKIP() << "needs Debian's xfonts-base";
  TempDir dir;
  // Every character of ISO 8859-2 above ASCII; the Unicode font draws each
  // with the same bitmap.
  const std::string range = "-r 0xA0-0x17F,0x2C7-0x2DD --height font --no-cp";
  RunResult r =
      run_import(dir.path(), "font " + misc + "10x20-ISO8859-2.pcf.gz " + range + " -o l2.sym");
  ASSERT_EQ(r.status, 0) << r.out;
  r = run_import(dir.path(), "font " + misc + "10x20.pcf.gz " + range + " -o u.sym");
  ASSERT_EQ(r.status, 0) << r.out;
  const std::string latin2 = symbol_lines(TempDir::read(dir.file("l2.sym")));
  const std::string unicode = symbol_lines(TempDir::read(dir.file("u.sym")));
  EXPECT_EQ(std::count(latin2.begin(), latin2.end(), '\n'), 96);
  size_t at = 0;
  for (size_t end; (end = latin2.find('\n', at)) != std::string::npos; at = end + 1)
    EXPECT_NE(unicode.find(latin2.substr(at, end + 1 - at)), std::string::npos)
        << latin2.substr(at, end - at);
}

// A named pipe cannot be mapped: a font read through one is read whole by
// the importer itself, and gives what the file gives. FreeType reading a
// mapped file was what a file shrinking during an import turned into
// SIGBUS; this shows that the bytes imported are the ones read first.
TEST(FontFiles, ReadWholeThroughAPipeAsFromTheFile) {
  TempDir dir;
  const std::string font =
      bdf("STARTCHAR A\nENCODING 65\nSWIDTH 500 0\nDWIDTH 5 0\nBBX 5 2 0 0\nBITMAP\nF8\n88\n"
          "ENDCHAR\n");
  dir.write("t.bdf", font);
  ASSERT_EQ(::mkfifo(dir.file("pipe.bdf").c_str(), 0600), 0);
  std::thread writer([&] { dir.write("pipe.bdf", font); });
  const RunResult piped = run_import(dir.path(), "font pipe.bdf -r 0x41 -o p.sym");
  writer.join();
  const RunResult direct = run_import(dir.path(), "font t.bdf -r 0x41 -o t.sym");
  ASSERT_EQ(piped.status, 0) << piped.out;
  ASSERT_EQ(direct.status, 0) << direct.out;
  EXPECT_EQ(symbol_lines(TempDir::read(dir.file("p.sym"))),
            symbol_lines(TempDir::read(dir.file("t.sym"))));
}

}  // namespace
