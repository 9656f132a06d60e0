// tralk_add_image(... STRINGS ...) in a real CMake and Ninja build: the
// strings are checked against the image as part of the build, which fails
// on a missing character or a string too wide, naming it, and checks again
// only when an image, a file of strings or the inspector changed.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "support/run_tralk.h"
#include "support/tempdir.h"

namespace {

const char kProject[] =
    "cmake_minimum_required(VERSION 3.20)\n"
    "project(fw C)\n"
    "add_executable(tralk::tralk IMPORTED)\n"
    "set_target_properties(tralk::tralk PROPERTIES IMPORTED_LOCATION \"" TRALK_EXE
    "\")\n"
    "add_executable(tralk::tralk-inspect IMPORTED)\n"
    "set_target_properties(tralk::tralk-inspect PROPERTIES IMPORTED_LOCATION \"" TRALK_INSPECT_EXE
    "\")\n"
    "include(\"" TRALK_CMAKE_MODULES
    "/TralkAddImage.cmake\")\n"
    "add_library(fw STATIC lib.c)\n"
    "target_include_directories(fw PRIVATE \"" TRALK_FIXTURES "\")\n";

// A font of "?" (4 pixels wide), "A" (2) and "B" (5), 2 rows high.
void write_project(const TempDir& dir, const std::string& calls) {
  dir.write("CMakeLists.txt", kProject + calls);
  dir.write("lib.c", "int lib;\n");
  dir.write("prop.sym",
            "// CP<prop.cp>\n{{4,2},{0xF0,0xF0}},\n{{2,2},{0xC0,0xC0}},\n"
            "{{5,2},{0xF8,0xF8}},\n");
  dir.write("prop.cp", "{2, 63},\n{\n  {63, 63, 0},\n  {65, 66, 1}\n}\n");
  dir.write("ui.vfg", "ui.bin\nprop.sym Prop\n");
  dir.write("bars.sym", "// CP<bars.cp>\n{{3,2},{0xE0,0xE0}},\n{{3,2},{0x80,0x80}},\n");
  dir.write("bars.cp", "{1, 63},\n{\n  {63, 64, 0}\n}\n");
  dir.write("two.vfg", "a.bin\nprop.sym Prop\nb.bin\nbars.sym Other\n");
}

bool has_ninja() {
  return run_command(".", "command -v ninja >/dev/null").status == 0;
}

TEST(CMakeStrings, TheBuildChecksTheStrings) {
  if (test_host().windows) GTEST_SKIP() << "CMake runs the programs of this build";
  if (!has_ninja()) GTEST_SKIP() << "needs ninja (Debian: ninja-build)";
  const TempDir dir;
  // fw2's second image holds Other, in which "A" and "B" fall to the
  // default character; its first, holding Prop, is not checked.
  write_project(dir,
                "tralk_add_image(fw CONFIG ui.vfg STRINGS po/de.po ru.txt MAX_WIDTH 9 FONT Prop)\n"
                "add_library(fw2 STATIC lib.c)\n"
                "target_include_directories(fw2 PRIVATE \"" TRALK_FIXTURES
                "\")\n"
                "tralk_add_image(fw2 CONFIG two.vfg STRINGS po/de.po FONT Other)\n");
  dir.write("po/de.po", "msgid \"AB\"\nmsgstr \"BA\"\n");
  dir.write("ru.txt", "ABA\n");  // 2 + 5 + 2 = 9 pixels: fits
  const std::string cmake = shell_quote(TRALK_CMAKE_COMMAND);
  RunResult r = run_command(dir.path(), cmake + " -S . -B build -G Ninja 2>&1");
  ASSERT_EQ(r.status, 0) << r.out;
  const std::string build = cmake + " --build build --target fw 2>&1";
  r = run_command(dir.path(), build);
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("Checking the strings of ui.vfg with tralk-inspect"), std::string::npos)
      << r.out;
  r = run_command(dir.path(), build);
  EXPECT_NE(r.out.find("ninja: no work to do."), std::string::npos) << r.out;

  const struct {
    const char* file;
    const char* text;
    const char* error;  // the build's line for the finding; none: it builds
  } steps[] = {
      // The comment's "C" is no string; msgstr "AC" is, named by its msgid.
      {"po/de.po", "msgid \"AB\"\nmsgstr \"BA\"\n\n# C: a comment\nmsgid \"A\"\nmsgstr \"AC\"\n",
       "<DIR>/po/de.po:6: error: \"A\": U+0043 \"C\" falls to the default character of font "
       "block 0 (Prop)\n"},
      {"po/de.po",  // unchanged: the build fails again
       "msgid \"AB\"\nmsgstr \"BA\"\n\n# C: a comment\nmsgid \"A\"\nmsgstr \"AC\"\n",
       "<DIR>/po/de.po:6: error: \"A\": U+0043 \"C\" falls to the default character of font "
       "block 0 (Prop)\n"},
      {"po/de.po", "msgid \"AB\"\nmsgstr \"BA\"\n", nullptr},
      {"ru.txt", "ABA\nABAB\n",
       "<DIR>/ru.txt:2: error: \"ABAB\": 14 pixels wide in font block 0 (Prop), limit 9\n"},
      {"ru.txt", "ABA\n", nullptr},
  };
  for (const auto& step : steps) {
    // A second ahead: the file system's clock may not have moved since the
    // check's stamp was written, and ninja compares times.
    dir.write(step.file, step.text);
    std::filesystem::last_write_time(
        dir.path() / step.file,
        std::filesystem::file_time_type::clock::now() + std::chrono::seconds(1));
    r = run_command(dir.path(), build);
    EXPECT_NE(r.out.find("Checking the strings"), std::string::npos) << r.out;
    if (!step.error) {
      EXPECT_EQ(r.status, 0) << r.out;
      continue;
    }
    EXPECT_NE(r.status, 0) << r.out;
    EXPECT_NE(r.out.find(with_dir(step.error, dir.path())), std::string::npos) << r.out;
  }
  r = run_command(dir.path(), cmake + " --build build --target fw2 2>&1");
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.out.find(with_dir("tralk-inspect <DIR>/build/tralk/two/b.bin --quiet --strings "
                                "<DIR>/po/de.po --font Other &&",
                                dir.path())),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find(with_dir("<DIR>/po/de.po:1: error: \"AB\": U+0041 \"A\" falls to the "
                                "default character of font block 0 (Other)\n",
                                dir.path())),
            std::string::npos)
      << r.out;
  EXPECT_EQ(r.out.find("a.bin --quiet"), std::string::npos) << r.out;
}

TEST(CMakeStrings, RefusedWhenTheBuildIsConfigured) {
  if (test_host().windows) GTEST_SKIP() << "CMake runs the programs of this build";
  const struct {
    const char* calls;
    const char* error;
  } cases[] = {
      {"tralk_add_image(fw CONFIG ui.vfg MAX_WIDTH 9)\n",
       "tralk_add_image: MAX_WIDTH and FONT need STRINGS, the files of the strings to check"},
      {"tralk_add_image(fw CONFIG two.vfg STRINGS s.txt FONT Prop Nope)\n",
       "tralk_add_image: FONT Nope is no font of two.vfg, which has Prop, Other"},
  };
  for (const auto& c : cases) {
    const TempDir dir;
    write_project(dir, c.calls);
    const RunResult r =
        run_command(dir.path(), shell_quote(TRALK_CMAKE_COMMAND) + " -S . -B build -G Ninja 2>&1");
    EXPECT_NE(r.status, 0);
    std::string words;  // CMake breaks its messages' lines
    for (const char ch : r.out)
      if (ch != '\n' && !(ch == ' ' && !words.empty() && words.back() == ' '))
        words += ch;
      else if (!words.empty() && words.back() != ' ')
        words += ' ';
    EXPECT_NE(words.find(c.error), std::string::npos) << r.out;
  }
}

}  // namespace
