// tralk_add_image when the build is configured: it learns the images from
// tralk --list-outputs, refuses two images of one name and one font name in
// two images of a target naming both, an entry that nothing makes, and a
// configuration or option that tralk refuses fails the configuration with
// tralk's message. Then a real Ninja build: inputs that the project makes
// beside a configuration of its build folder are depended on there.
#include <gtest/gtest.h>

#include <string>

#include "support/run_tralk.h"
#include "support/tempdir.h"

namespace {

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

const char kProject[] =
    "cmake_minimum_required(VERSION 3.20)\n"
    "project(fw C)\n"
    "add_executable(tralk::tralk IMPORTED)\n"
    "set_target_properties(tralk::tralk PROPERTIES IMPORTED_LOCATION \"" TRALK_EXE
    "\")\n"
    "include(\"" TRALK_CMAKE_MODULES
    "/TralkAddImage.cmake\")\n"
    "add_library(fw STATIC lib.c)\n";

TEST(CMakePackage, ImagesAndRefusalsWhenTheBuildIsConfigured) {
  if (test_host().windows) GTEST_SKIP() << "CMake runs the tralk of this build, not the one tested";
  const struct {
    const char* calls;
    const char* error;  // a part of the configuration's error, or null
  } cases[] = {
      {"tralk_add_image(fw CONFIG tft.vfg MAX_SIZE 2MiB)\n"
       "file(WRITE images.txt \"${fw_TRALK_IMAGES}\")\n",
       nullptr},
      {"tralk_add_image(fw CONFIG tft.vfg)\ntralk_add_image(fw CONFIG oled.vfg)\n",
       "tralk_add_image: two images named fonts.bin in target fw, one from tft.vfg and one "
       "from oled.vfg"},
      {"tralk_add_image(fw CONFIG tft.vfg MAX_SIZE 2M)\n",
       "Option \"--max-size\" needs a number of bytes, KiB or MiB: \"2M\""},
      {"tralk_add_image(fw CONFIG bad.vfg)\n",
       "tralk cannot read <DIR>/bad.vfg: Config file: error in parameter sequence at f.sym "
       "Skipping config file processing due to errors"},
      {"tralk_add_image(fw CONFIG tft.vfg)\ntralk_add_image(fw CONFIG more.vfg)\n",
       "tralk_add_image: two fonts named logo in target fw, one in fonts.bin from tft.vfg and "
       "one in more.bin from more.vfg"},
      {"tralk_add_image(fw CONFIG both.vfg)\n",
       "tralk_add_image: two fonts named Icons in target fw, one in a.bin from both.vfg and one "
       "in b.bin from both.vfg"},
      {"add_library(other STATIC lib.c)\ntralk_add_image(fw CONFIG tft.vfg)\n"
       "tralk_add_image(other CONFIG more.vfg)\n",
       nullptr},
      {"tralk_add_image(fw CONFIG lost.vfg)\n",
       "tralk_add_image(fw) in <DIR>/CMakeLists.txt: the configuration names nowhere.sym, which "
       "is not beside it, and no import or custom command of the project makes it there or in "
       "the folder of generated inputs (<DIR>/build/tralk-inputs/nowhere.sym)"},
  };
  for (const auto& c : cases) {
    TempDir dir;
    dir.write("CMakeLists.txt", kProject + std::string(c.calls));
    dir.write("lib.c", "int lib;\n");
    dir.write("tft.vfg", "fonts.bin\nui16.sym\nlogo.bmp\n");
    dir.write("oled.vfg", "fonts.bin\nsmall.sym\n");
    dir.write("bad.vfg", "f.sym\n");
    dir.write("more.vfg", "more.bin\nicons.sym logo\n");
    dir.write("both.vfg", "a.bin\nui16.sym Icons\nb.bin\nicons.sym Icons\n");
    dir.write("lost.vfg", "lost.bin\nnowhere.sym\n");
    for (const char* input : {"ui16.sym", "logo.bmp", "small.sym", "icons.sym"})
      dir.write(input, "");
    const RunResult r =
        run_command(dir.path(), shell_quote(TRALK_CMAKE_COMMAND) + " -S . -B build -G Ninja 2>&1");
    if (c.error) {
      EXPECT_NE(words(r.out).find(with_dir(c.error, dir.path())), std::string::npos) << r.out;
      EXPECT_NE(r.status, 0);
      continue;
    }
    EXPECT_EQ(r.status, 0) << r.out;
    if (std::string(c.calls).find("images.txt") != std::string::npos) {
      EXPECT_EQ(TempDir::read(dir.path() / "images.txt"),
                with_dir("<DIR>/build/tralk/tft/fonts.bin", dir.path()));
    }
  }
}

// A configuration copied into the build folder beside a font that a custom
// command of the project makes there, declared after tralk_add_image: the
// first build makes the font, then the image; a change to the font's
// source makes both again.
TEST(CMakePackage, InputsMadeBesideAGeneratedConfiguration) {
  if (test_host().windows) GTEST_SKIP() << "CMake runs the tralk of this build, not the one tested";
  TempDir dir;
  dir.write("CMakeLists.txt",
            kProject + std::string("target_include_directories(fw PRIVATE \"" TRALK_FIXTURES "\")\n"
                                   "set(gen ${CMAKE_BINARY_DIR}/gen)\n"
                                   "configure_file(ui.vfg ${gen}/ui.vfg COPYONLY)\n"
                                   "tralk_add_image(fw CONFIG ${gen}/ui.vfg)\n"
                                   "add_custom_command(OUTPUT ${gen}/ui.sym COMMAND "
                                   "${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/ui.sym.in "
                                   "${gen}/ui.sym DEPENDS ui.sym.in)\n"));
  dir.write("lib.c", "int lib;\n");
  dir.write("ui.vfg", "ui.bin\nui.sym Text\n");
  dir.write("ui.sym.in", "{{8,1},{0x81}}\n");
  const std::string cmake = shell_quote(TRALK_CMAKE_COMMAND);
  RunResult r = run_command(dir.path(), cmake + " -S . -B build -G Ninja 2>&1");
  ASSERT_EQ(r.status, 0) << r.out;
  r = run_command(dir.path(), cmake + " --build build 2>&1");
  ASSERT_EQ(r.status, 0) << r.out;
  const std::string image = TempDir::read(dir.path() / "build/tralk/ui/ui.bin");
  EXPECT_EQ(image.size(), 44u);
  dir.write("ui.sym.in", "{{8,2},{0x81,0x42}}\n");
  r = run_command(dir.path(), cmake + " --build build 2>&1");
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("Generating the font images of"), std::string::npos) << r.out;
  EXPECT_NE(TempDir::read(dir.path() / "build/tralk/ui/ui.bin"), image);
}

}  // namespace
