// tralk_import_font's NAMES, NAMES_FILE and NAMES_HEADER through a real
// CMake and Ninja build: the header is a build output that a program linked
// to tralk_names_<name> includes, made again when the names file changes,
// and the import prints nothing (--quiet).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "import/import_helpers.h"

namespace fs = std::filesystem;

namespace {

const char kProject[] =
    "cmake_minimum_required(VERSION 3.20)\n"
    "project(fw C)\n"
    "add_executable(tralk::tralk IMPORTED)\n"
    "set_target_properties(tralk::tralk PROPERTIES IMPORTED_LOCATION \"" TRALK_EXE
    "\")\n"
    "add_executable(tralk::tralk-import IMPORTED)\n"
    "set_target_properties(tralk::tralk-import PROPERTIES IMPORTED_LOCATION \"" TRALK_IMPORT_EXE
    "\")\n"
    "include(\"" TRALK_CMAKE_MODULES
    "/TralkImport.cmake\")\n"
    "tralk_import_font(icons FONT \"" TRALK_FIXTURES
    "/icons/icons.ttf\" SIZE 16\n"
    "                  NAMES cog wifi NAMES_FILE codepoints NAMES_HEADER ui/icons.h)\n"
    // Imports without names beside it: their outputs are their own still.
    "tralk_import_font(plain FONT \"" TRALK_FIXTURES
    "/icons/icons.ttf\" SIZE 16 RANGES 0x20)\n"
    "tralk_import_font(plain2 FONT \"" TRALK_FIXTURES
    "/icons/icons.ttf\" SIZE 8 RANGES 0x20)\n"
    "add_executable(show show.c)\n"
    "target_include_directories(show PRIVATE \"" TRALK_FIXTURES
    "\")\n"
    "target_link_libraries(show PRIVATE tralk_names_icons)\n"
    "tralk_add_image(show CONFIG ui.vfg)\n";

const char kProgram[] =
    "#include <stdio.h>\n#include \"ui/icons.h\"\n"
    "int main(void) {\n"
    "  const char* s = ICON_WIFI ICON_STAR;\n"
    "  for (; *s; ++s) printf(\"%02X \", (unsigned char)*s);\n"
    "  printf(\"%X %X\\n\", ICON_WIFI_CODE, ICON_STAR_CODE);\n"
    "  return 0;\n}\n";

TEST(ImportCMake, NamesHeaderIsABuildOutputOfTheImport) {
  if (test_host().windows) GTEST_SKIP() << "CMake runs the programs of this build";
  if (std::system("command -v ninja >/dev/null") != 0) GTEST_SKIP() << "needs ninja-build";
  TempDir dir;
  dir.write("CMakeLists.txt", kProject);
  dir.write("show.c", kProgram);
  dir.write("codepoints", "star e000\n");
  dir.write("ui.vfg", "ui.bin\nicons.sym Icons\n");
  const std::string cmake = shell_quote(TRALK_CMAKE_COMMAND);
  RunResult r = run_command(dir.path(), cmake + " -S . -B build -G Ninja >/dev/null 2>&1 && " +
                                            cmake + " --build build 2>&1");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("Importing icons with tralk-import"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("Made by tralk-import"), std::string::npos) << r.out;
  const fs::path header = dir.path() / "build/tralk-names/icons/ui/icons.h";
  EXPECT_NE(TempDir::read(header).find("#define ICON_STAR_CODE 0xE000\n"), std::string::npos);
  EXPECT_EQ(run_command(dir.path(), "build/show").out, "EF 87 AB EE 80 80 F1EB E000\n");
  r = run_command(dir.path(), cmake + " --build build 2>&1");
  EXPECT_NE(r.out.find("ninja: no work to do."), std::string::npos) << r.out;

  // A new code in the names file reaches the program; the header, gone,
  // is made again.
  dir.write("codepoints", "star e001\n");
  fs::remove(header);
  r = run_command(dir.path(), cmake + " --build build 2>&1");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(run_command(dir.path(), "build/show").out, "EF 87 AB EE 80 81 F1EB E001\n");
}

}  // namespace
