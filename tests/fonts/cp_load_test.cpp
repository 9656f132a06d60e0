#include "fonts/cp_load.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

namespace {

Outcome<CPTABLE> load(std::string_view text) {
  return cp_load(TextBytes(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

TEST(CpLoad, ReadsTwoRangesWithDefaultCharacter) {
  const Outcome<CPTABLE> r = load("{2, 32},\r\n{\r\n  {32, 126, 0},\r\n  {160, 255, 95}\r\n}\r\n");
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r->numranges, 2);
  EXPECT_EQ(r->defchar, 32);
  EXPECT_EQ(r->ranges, (std::vector<uint16_t>{32, 126, 0, 160, 255, 95}));
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
    const Outcome<CPTABLE> r = load(c.text);
    ASSERT_TRUE(r.ok()) << c.text;
    EXPECT_EQ(r->numranges, c.ranges.size() / 3) << c.text;
    EXPECT_EQ(r->defchar, c.defchar) << c.text;
    EXPECT_EQ(r->ranges, c.ranges) << c.text;
  }
}

TEST(CpLoad, SyntaxErrorsNameTheLine) {
  const struct {
    const char* text;
    uint32_t line;
  } cases[] = {
      {"{0,0},{{0,1,2}}", 1},           // no range may be announced as none
      {"{1,0},{{0,1,2},{3,4,5}}", 1},   // one range too many
      {"{2,0},{{0,1,2}}", 1},           // one range too few
      {"{1,},{{0,1,2}}", 1},            // missing number
      {"{1,0},{{0,1}}", 1},             // short range
      {"{1,0},{{0,-1,2}}", 1},          // no sign
      {"{1,0}{{0,1,2}}", 1},            // missing comma
      {"{1,0},{0,1,2}", 1},             // range without braces
      {"{1,0},{{0,1,2},", 1},           // comma at the end of the file
      {"", 1},                          // empty file
      {"{1,0},{{0x80000000,1,2}}", 1},  // a value with the top bit set is no number
      {"{2,0},\r\n{{0,1,2},\r\n{3,4}}", 3},
  };
  for (const auto& c : cases) {
    const Outcome<CPTABLE> r = load(c.text);
    ASSERT_FALSE(r.ok()) << c.text;
    EXPECT_EQ(r.code(), Fault::format) << c.text;
    EXPECT_EQ(r.failure().at.line, c.line) << c.text;
  }
}

}  // namespace
