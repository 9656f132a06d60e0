// An option of tralk-import given more than once: each value used when it
// is repeatable, refused otherwise, with nothing written.
#include <gtest/gtest.h>

#include <string>

#include "import/import_helpers.h"

namespace {

using import_test::bdf;
using import_test::files_in;
using import_test::run_import;

std::string glyph(int code) {
  return "STARTCHAR g" + std::to_string(code) + "\nENCODING " + std::to_string(code) +
         "\nSWIDTH 500 0\nDWIDTH 5 0\nBBX 1 1 0 0\nBITMAP\n80\nENDCHAR\n";
}

TEST(ImportRepeats, RepeatableOnesAreEachUsedOthersRefused) {
  TempDir dir;
  dir.write("a.bdf", bdf(glyph('A') + glyph('B')));
  dir.write("c.bdf", bdf(glyph('C')));
  dir.write("d.bdf", bdf(glyph('D')));
  const struct {
    const char* args;
    int status;
    const char* out;  // the whole output when refused; its line of symbols otherwise
  } cases[] = {
      {"font a.bdf -r 0x41 -r 0x43 --fallback c.bdf -o x.sym", 0, "2 symbols,"},
      {"font a.bdf --symbols A --symbols CD --fallback c.bdf --fallback d.bdf -o x.sym", 0,
       "3 symbols,"},
      {"font a.bdf --size 8 --size 8 -o x.sym", 2,
       "tralk-import font: option --size is given twice\n"},
      {"font a.bdf -o x.sym -o y.sym", 2, "tralk-import font: option -o is given twice\n"},
      {"font a.bdf --width advance --width fixed=4 -o x.sym", 2,
       "tralk-import font: option --width is given twice\n"},
      {"font a.bdf --encoding unicode -o x.sym --encoding cp1251", 2,
       "tralk-import font: option --encoding is given twice\n"},
      {"font a.bdf --quiet -o x.sym --quiet", 2,
       "tralk-import font: option --quiet is given twice\n"},
      {"font -h a.bdf --help", 2, "tralk-import font: option --help is given twice\n"},
      {"picture p.png --depth 4 --depth 8 -o x.bmp", 2,
       "tralk-import picture: option --depth is given twice\n"},
      {"picture p.png --dither none -o x.bmp --dither ordered", 2,
       "tralk-import picture: option --dither is given twice\n"},
      {"palette p.png --colours 4 -o x.pal --colours 8", 2,
       "tralk-import palette: option --colours is given twice\n"},
  };
  for (const auto& c : cases) {
    const std::set<std::string> before = files_in(dir.path());
    const RunResult r = run_import(dir.path(), c.args);
    EXPECT_EQ(r.status, c.status) << c.args;
    if (c.status) {
      EXPECT_EQ(r.out, c.out) << c.args;
      EXPECT_EQ(files_in(dir.path()), before) << c.args;
    } else {
      EXPECT_NE(r.out.find(std::string("\n") + c.out), std::string::npos) << c.args << r.out;
    }
  }
}

}  // namespace
