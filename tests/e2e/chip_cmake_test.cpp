// tralk_add_chip in a real CMake and Ninja build: the chip is packed after
// the images it names, its header is an include of the target (beside the
// images' own, whose macros it repeats alike), the layout is kept in the
// source folder, a build with nothing changed does nothing, and a grown
// font repacks the chip without moving the image that did not change.
#include <gtest/gtest.h>

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
    "add_executable(tralk::tralk-pack IMPORTED)\n"
    "set_target_properties(tralk::tralk-pack PROPERTIES IMPORTED_LOCATION \"" TRALK_PACK_EXE
    "\")\n"
    "include(\"" TRALK_CMAKE_MODULES
    "/TralkAddImage.cmake\")\n"
    "include(\"" TRALK_CMAKE_MODULES
    "/TralkAddChip.cmake\")\n"
    "add_library(fw STATIC lib.c)\n"
    "target_include_directories(fw PRIVATE \"" TRALK_FIXTURES
    "\")\n"
    "tralk_add_image(fw CONFIG ui.vfg)\n"
    "tralk_add_image(fw CONFIG oled.vfg)\n"
    "tralk_add_chip(fw qspi SIZE 128KiB ALIGN 4KiB BASE 0x90000000 IMAGES ui.bin oled.bin@0x8000\n"
    "               HEX LAYOUT release/qspi.layout)\n"
    "file(WRITE chips.txt \"${fw_TRALK_CHIPS}\")\n";

// Both headers, with UI_SIZE and UI_CRC32 in each.
const char kLib[] =
    "#include <ui.h>\n#include <qspi.h>\n"
    "unsigned long ui_at = UI_ADDRESS + UI_SIZE + UI_CRC32 + OLED_OFFSET + QSPI_CRC32;\n";

std::string symbols(int n) {
  std::string text;
  for (int i = 0; i < n; ++i) text += std::string(i ? ",\n" : "") + "{{8,1},{0x81}}";
  return text + "\n";
}

TEST(ChipCMake, PacksAfterTheImagesKeepsTheLayoutAndRebuildsOnlyWhatChanged) {
  if (test_host().windows) GTEST_SKIP() << "CMake runs the programs of this build";
  if (run_command(".", "command -v ninja >/dev/null").status != 0) GTEST_SKIP() << "no ninja";
  TempDir dir;
  dir.write("CMakeLists.txt", kProject);
  dir.write("lib.c", kLib);
  dir.write("ui.vfg", "ui.bin\na.sym\n");
  dir.write("oled.vfg", "oled.bin\nb.sym\n");
  dir.write("a.sym", symbols(3));
  dir.write("b.sym", symbols(2));
  dir.write("release/.keep", "");
  const std::string cmake = shell_quote(TRALK_CMAKE_COMMAND);
  const RunResult configured = run_command(dir.path(), cmake + " -S . -B build -G Ninja 2>&1");
  ASSERT_EQ(configured.status, 0) << configured.out;
  EXPECT_EQ(TempDir::read(dir.path() / "chips.txt"),
            with_dir("<DIR>/build/tralk/qspi/qspi.bin", dir.path()) + ";" +
                with_dir("<DIR>/build/tralk/qspi/qspi.hex", dir.path()));
  const std::string build = cmake + " --build build 2>&1";
  const RunResult first = run_command(dir.path(), build);
  ASSERT_EQ(first.status, 0) << first.out;
  const auto size_of = [&](const char* image) {
    return std::to_string(
        TempDir::read(dir.path() / "build/tralk" / image / (std::string(image) + ".bin")).size());
  };
  const std::string head = "# tralk-pack layout of \"qspi.bin\": offset, size in bytes, image\n";
  EXPECT_EQ(TempDir::read(dir.path() / "release/qspi.layout"),
            head + "0x00000000 " + size_of("ui") + " ui.bin\n0x00008000 " + size_of("oled") +
                " oled.bin\n");
  EXPECT_NE(run_command(dir.path(), build).out.find("ninja: no work to do."), std::string::npos);

  // ui grows over oled's place: it moves to the first free place after it;
  // oled, given at 0x8000, stays. The library is compiled again.
  dir.write("a.sym", symbols(12000));
  const RunResult grown = run_command(dir.path(), build);
  ASSERT_EQ(grown.status, 0) << grown.out;
  EXPECT_NE(grown.out.find("Moved \"ui.bin\" from 0x00000000 to 0x00009000: it grew"),
            std::string::npos)
      << grown.out;
  EXPECT_NE(grown.out.find("lib.c"), std::string::npos) << grown.out;
  EXPECT_EQ(TempDir::read(dir.path() / "release/qspi.layout"),
            head + "0x00008000 " + size_of("oled") + " oled.bin\n0x00009000 " + size_of("ui") +
                " ui.bin\n");
  EXPECT_NE(run_command(dir.path(), build).out.find("ninja: no work to do."), std::string::npos);
}

}  // namespace
