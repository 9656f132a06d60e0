#include "fonts/pal_load.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/console.h"
#include "support/tempdir.h"

namespace {

struct PalResult {
  PalTablePtr table;
  std::string name = "untouched";
  uint32_t count = 12345;
  std::string console;
};

PalResult load(const std::string& path) {
  PalResult r;
  con_capture_begin();
  r.table = pal_load(path.c_str(), &r.name, &r.count);
  r.console = con_capture_end();
  return r;
}

std::vector<RGBTRIPLET> entries(const PalResult& r) {
  return r.table ? r.table->entries : std::vector<RGBTRIPLET>{};
}

TEST(PalLoad, ReadsGreyAndColourEntries) {
  TempDir dir;
  const auto path = dir.write("gcolor_4.pal",
                              "/* 4 colours */\n{\n  {0},\n  {255},\n  {255, 0, 0},\n"
                              "  {0, 0, 255}\n}\n");
  const PalResult r = load(path);
  ASSERT_NE(r.table, nullptr) << r.console;
  EXPECT_EQ(r.console, "");
  EXPECT_EQ(r.count, 4u);
  EXPECT_EQ(r.name, "gcolor_4");
  EXPECT_EQ(entries(r),
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
  };
  for (const Case& c : cases) {
    TempDir dir;
    const PalResult r = load(dir.write("p.pal", c.text));
    ASSERT_NE(r.table, nullptr) << c.text << r.console;
    EXPECT_EQ(r.console, "") << c.text;
    EXPECT_EQ(r.count, c.entries.size()) << c.text;
    EXPECT_EQ(entries(r), c.entries) << c.text;
  }
}

TEST(PalLoad, KeepsTheFirst256Entries) {
  std::string text = "{";
  for (int i = 0; i < 300; ++i) text += "{" + std::to_string(i) + "},";
  text += "}";
  TempDir dir;
  const PalResult r = load(dir.write("big.pal", text));
  ASSERT_NE(r.table, nullptr) << r.console;
  EXPECT_EQ(r.console, "");
  EXPECT_EQ(r.count, 256u);
  ASSERT_EQ(entries(r).size(), 256u);
  EXPECT_EQ(r.table->entries[255], (RGBTRIPLET{255, 255, 255}));
}

TEST(PalLoad, NamesTheFileAsAnIdentifier) {
  TempDir dir;
  const PalResult r = load(dir.write("12my-pal.x.pal", "{{1}}"));
  ASSERT_NE(r.table, nullptr) << r.console;
  EXPECT_EQ(r.name, "_12my_pal_x");
}

TEST(PalLoad, OutputsAreOptional) {
  TempDir dir;
  const auto path = dir.write("p.pal", "{{7}}");
  con_capture_begin();
  const PalTablePtr table = pal_load(path.c_str(), nullptr, nullptr);
  EXPECT_EQ(con_capture_end(), "");
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->entries, (std::vector<RGBTRIPLET>{{7, 7, 7}}));
}

TEST(PalLoad, SyntaxErrorsLeaveTheOutputsAlone) {
  const char* cases[] = {
      "{}",           // a palette has at least one entry
      "{{1,,3}}",     // missing value
      "{{1,2}}",      // two values
      "{{1,2,3,4}}",  // four values
      "{1}",          // entry without braces
      "{{-1}}",       // no sign
      "{{1},",        // comma at the end of the file
      "",             // empty file
  };
  for (const char* text : cases) {
    TempDir dir;
    const auto path = dir.write("bad.pal", text);
    const PalResult r = load(path);
    EXPECT_EQ(r.table, nullptr) << text;
    EXPECT_EQ(r.console, "\n Syntax error in pal file \"" + path + "\"") << text;
    EXPECT_EQ(r.count, 12345u) << text;
    EXPECT_EQ(r.name, "untouched") << text;
  }
}

TEST(PalLoad, MissingFileIsAnOpenError) {
  TempDir dir;
  const std::string path = (dir.path() / "none.pal").string();
  const PalResult r = load(path);
  EXPECT_EQ(r.table, nullptr);
  EXPECT_EQ(r.console, "\n Open error in pal file \"" + path + "\"");
  EXPECT_EQ(r.count, 12345u);
}

}  // namespace
