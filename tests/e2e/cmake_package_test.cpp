// tralk_add_image when the build is configured: it learns the images from
// tralk --list-outputs, refuses two images of one name in a target naming
// both configurations, and a configuration or option that tralk refuses
// fails the configuration with tralk's message.
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
  };
  for (const auto& c : cases) {
    TempDir dir;
    dir.write("CMakeLists.txt", kProject + std::string(c.calls));
    dir.write("lib.c", "int lib;\n");
    dir.write("tft.vfg", "fonts.bin\nui16.sym\nlogo.bmp\n");
    dir.write("oled.vfg", "fonts.bin\nsmall.sym\n");
    dir.write("bad.vfg", "f.sym\n");
    const RunResult r =
        run_command(dir.path(), shell_quote(TRALK_CMAKE_COMMAND) + " -S . -B build -G Ninja 2>&1");
    if (c.error) {
      EXPECT_NE(words(r.out).find(with_dir(c.error, dir.path())), std::string::npos) << r.out;
      EXPECT_NE(r.status, 0);
      continue;
    }
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(TempDir::read(dir.path() / "images.txt"),
              with_dir("<DIR>/build/tralk/tft/fonts.bin", dir.path()));
  }
}

}  // namespace
