// The configuration's inputs read from their files, with tralk's messages
// for what the readers refuse: the file, the codepage beside a font, and the
// words of each failure.
#include "driver/input_files.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/console.h"
#include "support/tempdir.h"

namespace {

using Name = std::optional<std::string>;

const char kLatinCp[] = "{2, 32},\n{\n  {32, 126, 0},\n  {160, 255, 95}\n}\n";

struct FontResult {
  SymFontPtr font;
  Name cpname = "untouched";
  std::string console;
};

FontResult load(const std::string& path) {
  FontResult r;
  con_capture_begin();
  r.font = load_font_file(path, r.cpname);
  r.console = con_capture_end();
  return r;
}

TEST(InputFiles, CodepageComesFromTheSymDirectory) {
  TempDir dir;
  dir.write("fonts/latin.cp", kLatinCp);
  dir.write("latin.cp", "{1, 0},{{1,2,3}}");  // beside the current directory: not this one
  dir.write("elsewhere/.keep", "");
  // A directory in the marker's name is dropped.
  const auto path = dir.write("fonts/f.sym", "// CP<other/latin.cp>\n{{8,1},{1}}");
  const std::vector<uint16_t> latin{32, 126, 0, 160, 255, 95};
  for (const auto& [cwd, name] : {std::pair{dir.path(), std::string("fonts/f.sym")},
                                  std::pair{dir.path() / "elsewhere", path}}) {
    ScopedCwd cd(cwd);
    const FontResult r = load(name);
    ASSERT_NE(r.font, nullptr) << r.console;
    EXPECT_EQ(r.console, "");
    ASSERT_NE(r.font->codepage, nullptr);
    EXPECT_EQ(r.font->codepage->ranges, latin);
    EXPECT_EQ(r.cpname, Name("other/latin.cp"));
  }
}

TEST(InputFiles, FailuresOfAFontAndItsCodepage) {
  TempDir dir;
  dir.write("bad.cp", "{2, 32},{{1,2,3}}");
  const std::string missing = dir.file("missing.cp"), bad = dir.file("bad.cp");
  const struct {
    const char* file;
    const char* text;  // none: no file
    std::string console;
  } cases[] = {
      {"none.sym", nullptr, "\n Open error in sym file \"" + dir.file("none.sym") + "\""},
      {"s.sym", "{{8,1},{1}},\n{{8,1}}",
       "\n Syntax error detected on symbol 1 in sym file \"" + dir.file("s.sym") + "\""},
      {"m.sym", "// CP<missing.cp>\n{{8,1},{1}}",
       "\n Open error in .cp file \"" + missing +
           "\"\n Error loading codepage specificed in sym file \"" + dir.file("m.sym") + "\""},
      {"b.sym", "// CP<bad.cp>\n{{8,1},{1}}",
       "\n Syntax error in .cp file \"" + bad +
           "\"\n Error loading codepage specificed in sym file \"" + dir.file("b.sym") + "\""},
  };
  for (const auto& c : cases) {
    if (c.text) dir.write(c.file, c.text);
    const FontResult r = load(dir.file(c.file));
    EXPECT_EQ(r.font, nullptr) << c.file;
    EXPECT_EQ(r.console, c.console) << c.file;
    EXPECT_EQ(r.cpname, std::nullopt) << c.file;
  }
}

TEST(InputFiles, FailuresOfAPalette) {
  TempDir dir;
  dir.write("bad.pal", "{{1},");
  for (const char* name : {"none.pal", "bad.pal"}) {
    con_capture_begin();
    const PalTablePtr pal = load_palette_file(dir.file(name));
    const std::string console = con_capture_end();
    EXPECT_EQ(pal, nullptr);
    EXPECT_EQ(console, std::string("\n ") + (name[0] == 'n' ? "Open" : "Syntax") +
                           " error in pal file \"" + dir.file(name) + "\"");
  }
}

}  // namespace
