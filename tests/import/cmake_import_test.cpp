// The CMake import functions in a real CMake and Ninja build of a tiny
// project: a name that cannot be a target and a file that is not there are
// refused when the build is configured, naming the call; a palette made in
// the build, by tralk_import_palette or by a custom command of the
// project's, is made before the pictures that use it, and they are imported
// again when it changes.
#include <gtest/gtest.h>

#include <string>

#include "import/png_maker.h"
#include "support/run_tralk.h"
#include "support/tempdir.h"

namespace {

const char kProject[] =
    "cmake_minimum_required(VERSION 3.20)\n"
    "project(fw NONE)\n"
    "add_executable(tralk::tralk IMPORTED)\n"
    "set_target_properties(tralk::tralk PROPERTIES IMPORTED_LOCATION \"" TRALK_EXE
    "\")\n"
    "add_executable(tralk::tralk-import IMPORTED)\n"
    "set_target_properties(tralk::tralk-import PROPERTIES IMPORTED_LOCATION \"" TRALK_IMPORT_EXE
    "\")\n"
    "include(\"" TRALK_CMAKE_MODULES "/TralkImport.cmake\")\n";

// CMake breaks the lines of its messages: every run of blanks and line ends
// is one blank here.
std::string words(const std::string& text) {
  std::string out;
  for (char c : text) {
    const bool blank = c == ' ' || c == '\n';
    if (!blank) out += c;
    if (blank && !out.empty() && out.back() != ' ') out += ' ';
  }
  return out;
}

RunResult cmake(const TempDir& dir, const std::string& args) {
  return run_command(dir.path(), shell_quote(TRALK_CMAKE_COMMAND) + " " + args + " 2>&1");
}

// A picture of one row of 8-bit RGB pixels, 0xRRGGBB each.
std::string png_row(const std::vector<uint32_t>& colours) {
  PngLayout png;
  png.width = static_cast<uint32_t>(colours.size());
  for (const uint32_t c : colours)
    png.samples.insert(png.samples.end(), {c >> 16, (c >> 8) & 0xFF, c & 0xFF});
  return png_make(png);
}

TEST(CMakeImport, RefusalsWhenTheBuildIsConfigured) {
  if (test_host().windows) GTEST_SKIP() << "CMake runs the programs of this build";
  const struct {
    const char* calls;
    const char* error;  // a part of the configuration's error, or null
  } cases[] = {
      {"tralk_import_font(\"ui 12\" FONT t.bdf)\n",
       "tralk_import_font: \"ui 12\" cannot be a name: it names the target tralk_import_<name> "
       "and the files written, and may hold letters, digits and the characters _ . + - only"},
      {"tralk_import_palette(ui/x PICTURES a.png COLOURS 4)\n",
       "tralk_import_palette: \"ui/x\" cannot be a name"},
      {"tralk_import_font(ui FONT gone.bdf)\n",
       "tralk_import_font(ui) in <DIR>/CMakeLists.txt: FONT <DIR>/gone.bdf does not exist, and no "
       "custom command of the project makes it"},
      {"tralk_import_font(ui FONT t.bdf SYMBOLS_FILE gone.txt)\n",
       "tralk_import_font(ui) in <DIR>/CMakeLists.txt: SYMBOLS_FILE <DIR>/gone.txt does not exist"},
      {"tralk_import_picture(logo PICTURE gone.png)\n",
       "tralk_import_picture(logo) in <DIR>/CMakeLists.txt: PICTURE <DIR>/gone.png does not exist"},
      {"tralk_import_palette(ui PICTURES a.png gone.png COLOURS 4)\n",
       "tralk_import_palette(ui) in <DIR>/CMakeLists.txt: PICTURES <DIR>/gone.png does not exist"},
      {"tralk_import_picture(logo PICTURE a.png DEPTH 4 OPTIONS --palette gone.pal)\n",
       "tralk_import_picture(logo) in <DIR>/CMakeLists.txt: OPTIONS --palette "
       "<DIR>/build/gone.pal does not exist"},
      {"tralk_import_picture(logo PICTURE a.png DEPTH 4 PALETTE nope)\n",
       "tralk_import_picture(logo) in <DIR>/CMakeLists.txt: PALETTE nope names no palette; make "
       "it with tralk_import_palette(nope PICTURES <file>... COLOURS <n>)"},
      {"tralk_import_palette(ui PICTURES a.png COLOURS 4)\n"
       "tralk_import_picture(logo PICTURE a.png PALETTE ui OPTIONS --palette ui.pal)\n",
       "tralk_import_picture: PALETTE and a --palette in OPTIONS cannot both be given"},
      // Files that a custom command makes, declared after the call, in this
      // folder or in one of an older CMake's policies.
      {"tralk_import_font(ui FONT ${CMAKE_BINARY_DIR}/made.bdf)\n"
       "tralk_import_picture(logo PICTURE ${CMAKE_BINARY_DIR}/sub/made.png)\n"
       "add_custom_command(OUTPUT made.bdf COMMAND true)\n"
       "add_subdirectory(sub)\n",
       nullptr},
  };
  for (const auto& c : cases) {
    TempDir dir;
    dir.write("CMakeLists.txt", kProject + std::string(c.calls));
    dir.write("sub/CMakeLists.txt",
              "cmake_minimum_required(VERSION 3.10)\nadd_custom_command(OUTPUT made.png "
              "COMMAND true)\n");
    dir.write("t.bdf", "");
    dir.write("a.png", "");
    const RunResult r = cmake(dir, "-S . -B build -G Ninja");
    if (!c.error) {
      EXPECT_EQ(r.status, 0) << c.calls << r.out;
      continue;
    }
    EXPECT_NE(words(r.out).find(with_dir(c.error, dir.path())), std::string::npos)
        << c.calls << r.out;
    EXPECT_NE(r.status, 0) << c.calls;
  }
}

// The colour table of a 4-bit BMP picture of 4 colours, as 0xRRGGBB.
std::vector<uint32_t> colour_table(const std::string& bmp) {
  std::vector<uint32_t> colours;
  for (size_t at = 54; at + 4 <= bmp.size() && colours.size() < 4; at += 4)
    colours.push_back(uint32_t{uint8_t(bmp[at + 2])} << 16 | uint32_t{uint8_t(bmp[at + 1])} << 8 |
                      uint8_t(bmp[at]));
  return colours;
}

TEST(CMakeImport, PicturesWaitForTheirPalette) {
  if (test_host().windows) GTEST_SKIP() << "CMake runs the programs of this build";
  TempDir dir;
  // ui.pal from both pictures, and own.pal copied by a custom command of
  // the project's: both made in the build that imports the pictures. The
  // --quiet of OPTIONS is the one the import gives (the importer refuses two).
  dir.write("CMakeLists.txt",
            kProject + std::string("tralk_import_picture(a PICTURE a.png DEPTH 4 PALETTE ui)\n"
                                   "tralk_import_palette(ui PICTURES a.png b.png COLOURS 4)\n"
                                   "tralk_import_picture(b PICTURE b.png DEPTH 4 OPTIONS "
                                   "--quiet --palette ${CMAKE_BINARY_DIR}/gen/own.pal)\n"
                                   "add_custom_command(OUTPUT gen/own.pal COMMAND "
                                   "${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/own.pal.in "
                                   "gen/own.pal DEPENDS own.pal.in)\n"));
  dir.write("a.png", png_row({0xFF0000, 0x0000FF}));
  dir.write("b.png", png_row({0x00FF00, 0xFFFFFF}));
  dir.write("own.pal.in", "{ {0}, {255}, {255, 0, 0}, {0, 0, 255} }\n");
  ASSERT_EQ(cmake(dir, "-S . -B build -G Ninja").status, 0);
  const std::string build = "--build build --target tralk_import_a tralk_import_b";
  RunResult r = cmake(dir, build);
  ASSERT_EQ(r.status, 0) << r.out;
  // The four colours, ascending.
  EXPECT_EQ(colour_table(TempDir::read(dir / "build/tralk-inputs/a.bmp")),
            (std::vector<uint32_t>{0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF}));
  EXPECT_EQ(colour_table(TempDir::read(dir / "build/tralk-inputs/b.bmp")),
            (std::vector<uint32_t>{0x000000, 0xFFFFFF, 0xFF0000, 0x0000FF}));
  EXPECT_NE(cmake(dir, build).out.find("ninja: no work to do."), std::string::npos);

  // A new colour in b.png makes another palette, and a is imported in it.
  dir.write("b.png", png_row({0x00FF00, 0x808080}));
  r = cmake(dir, build);
  ASSERT_EQ(r.status, 0) << r.out;
  for (const char* step : {"Importing ui with", "Importing a with", "Importing b with"})
    EXPECT_NE(r.out.find(step), std::string::npos) << step << "\n" << r.out;
  EXPECT_EQ(colour_table(TempDir::read(dir / "build/tralk-inputs/a.bmp")),
            (std::vector<uint32_t>{0x0000FF, 0x00FF00, 0x808080, 0xFF0000}));
  // The project's own palette changed: b alone is imported again.
  dir.write("own.pal.in", "{ {0}, {255}, {0, 0, 255}, {255, 0, 0} }\n");
  r = cmake(dir, build);
  EXPECT_NE(r.out.find("Importing b with"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("Importing a with"), std::string::npos) << r.out;
  EXPECT_EQ(colour_table(TempDir::read(dir / "build/tralk-inputs/b.bmp")),
            (std::vector<uint32_t>{0x000000, 0xFFFFFF, 0x0000FF, 0xFF0000}));
}

}  // namespace
