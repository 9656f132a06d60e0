// The shipped import example: its font is what the README's command makes,
// its configuration builds a sound image whose C source compiles, and the
// pictures in docs/ are what the inspector draws from the examples' images.
#include <gtest/gtest.h>

#include <filesystem>

#include "import/import_helpers.h"
#include "inspect/inspect_helpers.h"

namespace fs = std::filesystem;

namespace {

using import_test::kDejaVuSans;
using import_test::run_import;

const std::string kExamples = TRALK_EXAMPLES;

TEST(ImportExample, FontIsWhatTheReadmeCommandMakes) {
  const std::string shipped = TempDir::read(kExamples + "/dejavu16.sym");
  const std::string version = import_test::freetype_version();
  if (shipped.find(", FreeType " + version + "\n") == std::string::npos)
    GTEST_SKIP() << "examples/dejavu16.sym was made with another FreeType than " << version
                 << ", whose hinting may differ";
  TempDir dir;
  const RunResult r =
      run_import(dir.path(), "font " + std::string(kDejaVuSans) +
                                 " --size 16 --bpp 4 -r 0x20-0x7E,0xA0-0xFF,0x400-0x45F -o "
                                 "dejavu16.sym");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_TRUE(TempDir::read(dir.file("dejavu16.sym")) == shipped)
      << "examples/dejavu16.sym differs from a fresh import";
  EXPECT_EQ(TempDir::read(dir.file("dejavu16.cp")), TempDir::read(kExamples + "/dejavu16.cp"));
}

TEST(ImportExample, ImageIsSoundAndDrawsTheDocsPicture) {
  TempDir dir;
  for (const char* name : {"text.vfg", "dejavu16.sym", "dejavu16.cp"})
    fs::copy(kExamples + "/" + name, dir.path() / name);
  RunResult r = run_tralk(dir.path(), "text.vfg");
  ASSERT_EQ(r.status, 0) << r.out;
  const std::string cmd = "cc -std=c99 -Wall -Wextra -Werror -pedantic -c -I" +
                          shell_quote(TRALK_FIXTURES) + " -I" + shell_quote(dir.str()) + " -o " +
                          shell_quote(dir.file("text.o")) + " " + shell_quote(dir.file("text.c"));
  EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;

  r = inspect_test::run_inspect_exe(dir.path(),
                                    "text.bin --font 0 --text 'Hello, мир' --png hello.png");
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("10 characters, 0 through the default character\n\nNo problems found\n"),
            std::string::npos)
      << r.out;
  const std::string drawn = TempDir::read(dir.file("hello.png"));
  const std::string docs = TempDir::read(std::string(TRALK_DOCS) + "/hello-mir.png");
  const RgbPicture a = inspect_test::decode_png(drawn.data(), drawn.size());
  const RgbPicture b = inspect_test::decode_png(docs.data(), docs.size());
  EXPECT_EQ(a.width, b.width);
  EXPECT_EQ(a.height, b.height);
  EXPECT_TRUE(a.rgb == b.rgb) << "docs/hello-mir.png is not what the inspector draws";

  // The README's check of strings, in the same font.
  dir.write("ru.po",
            "msgid \"Settings\"\nmsgstr \"Настройки\"\n\nmsgid \"Engine\"\nmsgstr "
            "\"Температура двигателя\"\n");
  r = inspect_test::run_inspect_exe(
      dir.path(), "text.bin --strings ru.po --font DejaVu16 --max-width 128 --quiet");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out,
            "ru.po:5: error: \"Engine\": 203 pixels wide in font block 0 (DejaVu16), limit "
            "128\n");
}

TEST(ImportExample, DemoSheetIsWhatTheInspectorDraws) {
  TempDir dir;
  for (const char* name : {"demo.vfg", "font8x7.sym", "font8x7.cp", "prop4.sym", "smiley.bmp",
                           "flag4.bmp", "logo.bmp", "shade.bmp", "gcolor_4.pal"})
    fs::copy(kExamples + "/" + name, dir.path() / name);
  ASSERT_EQ(run_tralk(dir.path(), "demo.vfg").status, 0);
  const RunResult r = inspect_test::run_inspect_exe(dir.path(), "demo.bin --png sheet.png");
  EXPECT_EQ(r.status, 0) << r.out;
  const std::string drawn = TempDir::read(dir.file("sheet.png"));
  const std::string docs = TempDir::read(std::string(TRALK_DOCS) + "/demo-sheet.png");
  const RgbPicture a = inspect_test::decode_png(drawn.data(), drawn.size());
  const RgbPicture b = inspect_test::decode_png(docs.data(), docs.size());
  EXPECT_EQ(a.width, b.width);
  EXPECT_EQ(a.height, b.height);
  EXPECT_TRUE(a.rgb == b.rgb) << "docs/demo-sheet.png is not what the inspector draws";
}

}  // namespace
