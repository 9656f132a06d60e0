// The configuration read as the driver reads it: each line's first name and
// its optional further name.
#include "driver/config_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/fileio.h"
#include "support/text_stream.h"

namespace {

// The entries of text as "first|arg" ("first|" when there is none), and
// "<rejected>" where a name is rejected.
std::vector<std::string> config_entries(const std::string& text) {
  FilePtr f = stream_of(text);
  ConfigLines lines(f.get());
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

}  // namespace
