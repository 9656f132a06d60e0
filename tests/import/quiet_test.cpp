// tralk-import --quiet, as the CMake import functions run it: nothing but
// warnings and errors, the files written as without it.
#include <gtest/gtest.h>

#include "import/import_helpers.h"
#include "import/png_maker.h"

namespace {

using import_test::kDejaVuSans;
using import_test::run_import;

TEST(ImportQuiet, PrintsOnlyWarningsAndErrors) {
  TempDir dir;
  // Three colours: red, green and blue.
  PngLayout three;
  three.width = 3;
  three.samples = {255, 0, 0, 0, 255, 0, 0, 0, 255};
  dir.write("in.png", png_make(three));
  const std::string font = std::string("font ") + kDejaVuSans + " --size 12";
  const struct {
    std::string args;
    int status;
    std::string out;
    const char* written;  // a file the run writes, or null
  } cases[] = {
      {font + " -r 0x41 --quiet -o a.sym", 0, "", "a.sym"},
      {font + " -r 0x41,0xE000 --quiet -o b.sym", 0,
       "warning: 1 code has no glyph in the font and was skipped: 0xE000\n", "b.sym"},
      {font + " -r 0xE000 --quiet -o c.sym", 1,
       "tralk-import font: no glyph at all: the font has none of the codes selected\n", nullptr},
      {"picture in.png --quiet -o p.bmp", 0, "", "p.bmp"},
      {"picture in.png --depth 1 --quiet -o q.bmp", 1,
       "tralk-import picture: \"in.png\" has 3 colours; --depth 1 holds at most 2: --threshold N "
       "or --dither makes it b&w\n",
       nullptr},
      {"palette in.png --colours 2 --quiet -o p.pal", 0, "", "p.pal"},
      {"palette in.png --colours 2 --quiet -o nodir/p.pal", 1,
       "tralk-import palette: cannot write \"nodir/p.pal\": No such file or directory\n", nullptr},
  };
  for (const auto& c : cases) {
    const RunResult r = run_import(dir.path(), c.args);
    EXPECT_EQ(r.status, c.status) << c.args;
    EXPECT_EQ(r.out, c.out) << c.args;
    if (c.written) {
      EXPECT_FALSE(TempDir::read(dir.file(c.written)).empty()) << c.args;
    }
  }
}

}  // namespace
