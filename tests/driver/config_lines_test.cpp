// The configuration read as the driver reads it: each line's first name and
// its optional further name.
#include "driver/config_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The entries of text as "first|arg" ("first|" when there is none), and
// "<rejected>" where a name is rejected.
std::vector<std::string> config_entries(const std::string& text) {
  ConfigLines lines({reinterpret_cast<const uint8_t*>(text.data()), text.size()});
  std::vector<std::string> out;
  while (const char* first = lines.firstname()) {
    std::string entry = std::string(first) + "|";
    const char* arg = lines.linearg();
    if (arg) entry += arg;
    out.push_back(entry);
    if (!arg && lines.name_rejected()) {
      out.push_back("<rejected>");
      return out;
    }
  }
  if (lines.name_rejected()) out.push_back("<rejected>");
  return out;
}

TEST(ConfigLines, EntriesAndLineArguments) {
  struct Case {
    const char* text;
    std::vector<std::string> entries;
  } cases[] = {
      {"demo.bin 0x10\nfont8x7.sym\nlogo.bmp\n", {"demo.bin|0x10", "font8x7.sym|", "logo.bmp|"}},
      {"a.bin\r\nb.sym\r\n", {"a.bin|", "b.sym|"}},
      {"a.bin   \nb.sym", {"a.bin|", "b.sym|"}},
      {"a.bin // id\nb.sym", {"a.bin|", "b.sym|"}},
      {"a.bin /* c */ x\n", {"a.bin|x"}},
      {"a.bin /* c\n */ x\n", {"a.bin|", "x|"}},
      {"a.bin b c\n", {"a.bin|b", "c|"}},
      {"GREYMODE 16 extra\n", {"GREYMODE|16", "extra|"}},
      {"/* only */\n// comments\n\n", {}},
      {"\"my font.sym\" \"T x\"\n", {"my font.sym|T x"}},
      {"a.bin \"\"\nb.sym", {"a.bin|", "b.sym|"}},
      {"a.bin \"open\n", {"a.bin|", "<rejected>"}},
      {"x.sym\n\"open\n", {"x.sym|", "<rejected>"}},
  };
  for (const Case& c : cases) EXPECT_EQ(config_entries(c.text), c.entries) << c.text;
}

// The entries as the run and the lister act on them: the further name read
// for the kinds that take one, the line of each, and how the reading ended.
TEST(ConfigLines, EntriesWithTheirLines) {
  const std::string text =
      "\xEF\xBB\xBFimg.bin 0x10\r\n/* two\nlines */ f.sym F*\np.pal X\n\nGREYMODE \"open\n";
  const ConfigText config =
      read_config({reinterpret_cast<const uint8_t*>(text.data()), text.size()});
  ASSERT_EQ(config.entries.size(), 5u);
  const struct {
    const char* name;
    std::optional<std::string> arg;
    bool rejected;
    uint32_t line;
  } want[] = {{"img.bin", "0x10", false, 1},
              {"f.sym", "F*", false, 3},
              {"p.pal", std::nullopt, false, 4},
              {"X", std::nullopt, false, 4},
              {"GREYMODE", std::nullopt, true, 6}};
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(config.entries[i].name, want[i].name) << i;
    EXPECT_EQ(config.entries[i].arg, want[i].arg) << i;
    EXPECT_EQ(config.entries[i].arg_rejected, want[i].rejected) << i;
    EXPECT_EQ(config.entries[i].line, want[i].line) << i;
  }
  EXPECT_EQ(config.end, ConfigEnd::done);
  EXPECT_EQ(read_config({reinterpret_cast<const uint8_t*>("a.bin\n/* x"), 11}).end,
            ConfigEnd::open_comment);
}

}  // namespace
