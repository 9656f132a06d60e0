// A character above U+FFFF in --symbols or a symbols file is taken where a
// remapped -r run holds it: the advice its refusal gives leads there.
#include <gtest/gtest.h>

#include "import/import_helpers.h"

namespace {

using import_test::run_import;

const std::string kIcons = TRALK_FIXTURES "/icons/icons.ttf";

TEST(AboveFFFF, TakenFromTextWhereARemapHoldsIt) {
  TempDir dir;
  dir.write("s.txt", "\xF0\x9F\x94\xA5\n");  // U+1F525, the icon font's "fire"
  // The fire glyph: 6 x 6 pixels on the baseline, a column in.
  const std::string fire = "{{8,6},{0x7E,0x7E,0x7E,0x7E,0x7E,0x7E}}, // 0xE000 U+1F525\n";
  const struct {
    std::string args;
    int status;
    std::string result;  // the symbol lines, or the message
  } cases[] = {
      {"--symbols-file s.txt -r '0x1F525=>0xE000'", 0, fire},
      {"--symbols-file s.txt -r '0x1F500-0x1F5FF=>0xE000'", 0,
       "{{8,6},{0x7E,0x7E,0x7E,0x7E,0x7E,0x7E}}, // 0xE025 U+1F525\n"},
      {"--symbols $(cat s.txt) -r '0x1F525=>0xE000'", 0, fire},
      {"--symbols-file s.txt", 2,
       "tralk-import font: character U+1F525 is above 0xFFFF, the largest codepage code: select "
       "it with a remapped run, as in -r 0x1F525=>0xE000\n"},
  };
  for (const auto& c : cases) {
    const RunResult r = run_import(
        dir.path(), "font " + kIcons + " --size 16 --no-cp " + c.args + " --quiet -o f.sym");
    EXPECT_EQ(r.status, c.status) << c.args << ": " << r.out;
    if (c.status != 0) {
      EXPECT_EQ(r.out, c.result) << c.args;
      continue;
    }
    const std::string sym = TempDir::read(dir.file("f.sym"));
    EXPECT_EQ(sym.substr(sym.find("\n{{") + 1), c.result) << c.args;
  }
}

}  // namespace
