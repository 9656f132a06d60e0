#include "fonts/pal_load.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

namespace {

Outcome<PALTABLE> load(std::string_view text) {
  return pal_load(TextBytes(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

TEST(PalLoad, ReadsGreyAndColourEntries) {
  const Outcome<PALTABLE> r =
      load("/* 4 colours */\n{\n  {0},\n  {255},\n  {255, 0, 0},\n  {0, 0, 255}\n}\n");
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r->entries,
            (std::vector<RGBTRIPLET>{{0, 0, 0}, {255, 255, 255}, {255, 0, 0}, {0, 0, 255}}));
}

TEST(PalLoad, AcceptedForms) {
  struct Case {
    const char* text;
    std::vector<RGBTRIPLET> entries;
  };
  const Case cases[] = {
      {"{{1},{2},}", {{1, 1, 1}, {2, 2, 2}}},
      {"{{1},{2}", {{1, 1, 1}, {2, 2, 2}}},
      {"{{256},{0x1FF,0x100,0X2a}}", {{0, 0, 0}, {0xFF, 0, 0x2A}}},
      {"{ {1,2,3} } ; {{4}}", {{1, 2, 3}}},
      {"{{1}\t, // comment\r\n{2}}", {{1, 1, 1}, {2, 2, 2}}},
      {"\xEF\xBB\xBF{{7}}", {{7, 7, 7}}},
  };
  for (const Case& c : cases) {
    const Outcome<PALTABLE> r = load(c.text);
    ASSERT_TRUE(r.ok()) << c.text;
    EXPECT_EQ(r->entries, c.entries) << c.text;
  }
}

TEST(PalLoad, KeepsTheFirst256Entries) {
  std::string text = "{";
  for (int i = 0; i < 300; ++i) text += "{" + std::to_string(i) + "},";
  text += "}";
  const Outcome<PALTABLE> r = load(text);
  ASSERT_TRUE(r.ok());
  ASSERT_EQ(r->entries.size(), 256u);
  EXPECT_EQ(r->entries[255], (RGBTRIPLET{255, 255, 255}));
}

TEST(PalLoad, SyntaxErrorsNameTheLine) {
  const struct {
    const char* text;
    uint32_t line;
  } cases[] = {
      {"{}", 1},           // a palette has at least one entry
      {"{{1,,3}}", 1},     // missing value
      {"{{1,2}}", 1},      // two values
      {"{{1,2,3,4}}", 1},  // four values
      {"{1}", 1},          // entry without braces
      {"{{-1}}", 1},       // no sign
      {"{{1},", 1},        // comma at the end of the file
      {"", 1},             // empty file
      {"{{1},\n{2}\n{3}}", 3},
  };
  for (const auto& c : cases) {
    const Outcome<PALTABLE> r = load(c.text);
    ASSERT_FALSE(r.ok()) << c.text;
    EXPECT_EQ(r.code(), Fault::format) << c.text;
    EXPECT_EQ(r.failure().at.line, c.line) << c.text;
  }
}

}  // namespace
