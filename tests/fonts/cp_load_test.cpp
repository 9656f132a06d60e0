#include "fonts/cp_load.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/console.h"
#include "support/tempdir.h"

namespace {

struct CpResult {
  std::unique_ptr<CPTABLE> table;
  std::string console;
};

CpResult load(const std::string& path) {
  con_capture_begin();
  auto table = cp_load(path.c_str());
  return {std::move(table), con_capture_end()};
}

TEST(CpLoad, ReadsTwoRangesWithDefaultCharacter) {
  TempDir dir;
  const auto path =
      dir.write("latin.cp", "{2, 32},\r\n{\r\n  {32, 126, 0},\r\n  {160, 255, 95}\r\n}\r\n");
  const CpResult r = load(path);
  ASSERT_NE(r.table, nullptr) << r.console;
  EXPECT_EQ(r.console, "");
  EXPECT_EQ(r.table->numranges, 2);
  EXPECT_EQ(r.table->defchar, 32);
  EXPECT_EQ(r.table->ranges, (std::vector<uint16_t>{32, 126, 0, 160, 255, 95}));
}

TEST(CpLoad, AcceptedForms) {
  struct Case {
    const char* text;
    std::vector<uint16_t> ranges;
    uint16_t defchar;
  };
  const Case cases[] = {
      {"{1,0},{{0,1,2},}", {0, 1, 2}, 0},
      {"{1,0},{{0,1,2}", {0, 1, 2}, 0},
      {"/* cp */ {1, 0x3F} , { { 0x10041 , 65 , 0xFFFF } } // end", {0x41, 65, 0xFFFF}, 0x3F},
      {"{1,0x1003F},{{1,2,3}}", {1, 2, 3}, 0x3F},
      {"{1,7},{{1,2,3}};garbage", {1, 2, 3}, 7},
      {"{65537,0},{{1,2,3}}", {1, 2, 3}, 0},  // the count keeps its low 16 bits too
  };
  for (const Case& c : cases) {
    TempDir dir;
    const CpResult r = load(dir.write("a.cp", c.text));
    ASSERT_NE(r.table, nullptr) << c.text << r.console;
    EXPECT_EQ(r.console, "") << c.text;
    EXPECT_EQ(r.table->numranges, c.ranges.size() / 3) << c.text;
    EXPECT_EQ(r.table->defchar, c.defchar) << c.text;
    EXPECT_EQ(r.table->ranges, c.ranges) << c.text;
  }
}

TEST(CpLoad, SyntaxErrors) {
  const char* cases[] = {
      "{0,0},{{0,1,2}}",           // no range may be announced as none
      "{1,0},{{0,1,2},{3,4,5}}",   // one range too many
      "{2,0},{{0,1,2}}",           // one range too few
      "{1,},{{0,1,2}}",            // missing number
      "{1,0},{{0,1}}",             // short range
      "{1,0},{{0,-1,2}}",          // no sign
      "{1,0}{{0,1,2}}",            // missing comma
      "{1,0},{0,1,2}",             // range without braces
      "{1,0},{{0,1,2},",           // comma at the end of the file
      "",                          // empty file
      "{1,0},{{0x80000000,1,2}}",  // a value with the top bit set is no number
  };
  for (const char* text : cases) {
    TempDir dir;
    const auto path = dir.write("bad.cp", text);
    const CpResult r = load(path);
    EXPECT_EQ(r.table, nullptr) << text;
    EXPECT_EQ(r.console, "\n Syntax error in .cp file \"" + path + "\"") << text;
  }
}

TEST(CpLoad, MissingFileIsAnOpenError) {
  TempDir dir;
  const std::string path = (dir.path() / "none.cp").string();
  const CpResult r = load(path);
  EXPECT_EQ(r.table, nullptr);
  EXPECT_EQ(r.console, "\n Open error in .cp file \"" + path + "\"");
}

}  // namespace
