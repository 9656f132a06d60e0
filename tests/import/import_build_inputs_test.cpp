// What a build needs of tralk-import: --symbols-file, the characters of a
// program's strings, and --depfile, the files an import read, written with
// its outputs and kept, like them, when its bytes do not change.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "import/import_helpers.h"

namespace fs = std::filesystem;

namespace {

using import_test::kDejaVuSans;
using import_test::run_import;

// The .sym text without its third line, which records the options given.
std::string without_options_line(std::string sym) {
  const size_t second = sym.find('\n') + 1;
  const size_t third = sym.find('\n', second) + 1;
  return sym.erase(third, sym.find('\n', third) + 1 - third);
}

// A symbols file imports what --symbols does with the same characters,
// whatever its line ends, tabs, byte order mark or repeated characters.
TEST(SymbolsFile, ImportsItsCharactersAsSymbolsDoes) {
  const struct {
    std::vector<std::string> files;
    const char* symbols;
  } cases[] = {
      {{"Menü\nÉcran\n"}, "MenüÉcran"}, {{"\xEF\xBB\xBFMen\r\nü\rÉcran"}, "MenüÉcran"},
      {{"aaa\n", "ba\n\n"}, "ab"},      {{"", "ж"}, "ж"},
      {{"\tif (x)\t{\f\n"}, "if (x){"},  // tabs and other control characters are layout
      // Decomposed text, in the file or in --symbols, selects the composed ί.
      {{"\xCE\xB9\xCC\x81"}, "\xCE\xAF"},
      {{"\xCE\xAF"}, "\xCE\xB9\xCC\x81"},
  };
  for (const auto& c : cases) {
    TempDir dir;
    std::string args = "font " + std::string(kDejaVuSans) + " --size 12 --no-cp";
    for (size_t i = 0; i < c.files.size(); ++i) {
      const std::string name = "s" + std::to_string(i) + ".txt";
      dir.write(name, c.files[i]);
      args += " --symbols-file " + name;
    }
    ASSERT_EQ(run_import(dir.path(), args + " -o f.sym").status, 0) << c.symbols;
    ASSERT_EQ(
        run_import(dir.path(), "font " + std::string(kDejaVuSans) +
                                   " --size 12 --no-cp --symbols '" + c.symbols + "' -o s.sym")
            .status,
        0);
    EXPECT_EQ(without_options_line(TempDir::read(dir.file("f.sym"))),
              without_options_line(TempDir::read(dir.file("s.sym"))))
        << c.symbols;
  }
}

// A damaged catalogue is refused, naming the file, the line (the byte of a
// .mo file) and what is wrong, and nothing is written.
TEST(SymbolsFile, RefusedFilesLeaveNothing) {
  const struct {
    const char* name;
    std::optional<std::string> content;  // none: no file
    const char* args;
    int status;
    const char* message;
  } cases[] = {
      {"s.txt", "ok\r\nok\n\xC3(\n", "", 1, "line 3 of \"s.txt\" is not UTF-8 text"},
      {"s.txt", "\xEF\xBB\xBF\xED\xA0\x80", "", 1, "line 1 of \"s.txt\" is not UTF-8 text"},
      {"s.txt", std::nullopt, "", 1, "cannot read \"s.txt\": No such file or directory"},
      {"s.txt", "abc", " --encoding native", 2,
       "--symbols-file needs --encoding unicode or a code page"},
      {"de.po", "msgid \"Menu\"\nmsgstr \"Men\xC3\xBC\n", "", 1,
       "line 2 of \"de.po\": the string has no closing quote"},
      {"de.po", "msgid \"a\\d\"\nmsgstr \"\"\n", "", 1,
       "line 1 of \"de.po\": unknown escape \"\\d\""},
      {"de.mo", std::string("\xDE\x12\x04\x95\0\0\0\0", 8), "", 1,
       "byte 8 of \"de.mo\": the file ends inside its header of 28 bytes"},
      {"ui.json", "{\"menu\": {\"title\": \"Men\xC3\xBC\"\n}", "", 1,
       "line 2 of \"ui.json\": broken JSON: syntax error while parsing object - unexpected end "
       "of input; expected '}'"},
      {"de.ts", "<TS>\n<context>\n</TS>", "", 1, "line 3 of \"de.ts\": broken XML: mismatched tag"},
  };
  for (const auto& c : cases) {
    TempDir dir;
    if (c.content) dir.write(c.name, *c.content);
    const std::set<std::string> before = dir.entries();
    const RunResult r =
        run_import(dir.path(), "font " + std::string(kDejaVuSans) + " --size 12" + c.args +
                                   " --symbols-file " + c.name + " --depfile f.d -o f.sym");
    EXPECT_EQ(r.out, "tralk-import font: " + std::string(c.message) + "\n");
    EXPECT_EQ(r.status, c.status) << c.message;
    EXPECT_EQ(dir.entries(), before) << c.message;
  }
}

// The dependency file names the files written and every file read, by full
// path as tralk's does; an import that changes nothing leaves every file,
// the dependency file too, as it was.
TEST(ImportDepfile, NamesWhatWasReadAndKeepsUnchangedFiles) {
  TempDir dir;
  const std::string home = fs::canonical(dir.path()).string();
  fs::copy_file(kDejaVuSans, dir.path() / "my font.ttf");
  dir.write("s.txt", "ab\n");
  dir.write("art/p#1.bmp", std::string());
  // The fallback as FILE:FACE: the dependency is the file.
  const std::string font_args = "font 'my font.ttf' --size 12 --fallback " +
                                std::string(kDejaVuSans) +
                                ":0 --symbols-file s.txt --depfile deps/f.d -o out/f.sym";
  fs::create_directories(dir.path() / "deps");
  fs::create_directories(dir.path() / "out");
  RunResult r = run_import(dir.path(), font_args);
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.out.substr(r.out.rfind("Wrote")), "Wrote \"out/f.sym\" and \"out/f.cp\"\n");
  EXPECT_EQ(TempDir::read(dir.file("deps/f.d")), home + "/out/f.sym " + home +
                                                     "/out/f.cp: " + home + "/my\\ font.ttf \\\n " +
                                                     kDejaVuSans + " \\\n " + home + "/s.txt\n");
  const auto then = fs::file_time_type::clock::now() - std::chrono::hours(1);
  for (const char* f : {"out/f.sym", "out/f.cp", "deps/f.d"})
    fs::last_write_time(dir.file(f), then);
  ASSERT_EQ(run_import(dir.path(), font_args).status, 0);
  for (const char* f : {"out/f.sym", "out/f.cp", "deps/f.d"})
    EXPECT_EQ(fs::last_write_time(dir.file(f)), then) << f;

  fs::copy_file(fs::path(TRALK_EXAMPLES) / "smiley.bmp", dir.path() / "art/p#1.bmp",
                fs::copy_options::overwrite_existing);
  r = run_import(dir.path(), "picture 'art/p#1.bmp' --depfile p.d -o p.bmp");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(TempDir::read(dir.file("p.d")), home + "/p.bmp: " + home + "/art/p\\#1.bmp\n");
}

}  // namespace
