// --depfile: the dependency file names every file written and every file
// read, in a form that make itself reads back, and is written only after a
// successful run.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <sstream>
#include <vector>

#include "support/run_tralk.h"
#include "support/tempdir.h"

namespace fs = std::filesystem;

namespace {

const char kFont[] = "{{8,1},{0x81}}\n";
const char kDone[] = "\n\nNo errors detected. Done\n";
// Runs of tests that Windows skips: their outputs have no counterpart there.
const RunOptions kLinuxOnly{"", false};
const char kWriteFailed[] =
    "\n\nErrors detected while writing output files\n\nPress a key to Exit\n";

// text with "<DIR>" as the run's directory; on Windows every "/" becomes "\".
std::string host_text(const std::string& text, const fs::path& dir) {
  const std::string sep = test_host().windows ? "\\" : "/";
  return replace_all(replace_all(text, "/", sep), "<DIR>", host_dir(dir));
}

bool ends_with(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// Every input kind, names with blanks, "#" and "$", a file read twice.
void write_inputs(const TempDir& dir) {
  dir.write("cfg.vfg",
            "one.bin\n\"my font.sym\"\n\"sub dir/$x.bmp\"\n"
            "two.bin\nown.pal\n\"sub dir/$x.bmp\"\n");
  dir.write("my font.sym", "// CP<a#b.cp>\n" + std::string(kFont));
  dir.write("a#b.cp", "{1, 65}, {{65, 65, 0}}\n");
  dir.write("own.pal", "{ {0}, {255} }\n");
  dir.write("gcolor_4.pal", "{ {0}, {255}, {255, 0, 0}, {0, 0, 255} }\n");
  fs::create_directories(dir.path() / "sub dir");
  fs::copy_file(fs::path(TRALK_EXAMPLES) / "smiley.bmp", dir.path() / "sub dir/$x.bmp");
}

const char kTargets[] =
    "<DIR>/one.c <DIR>/one.h <DIR>/one.bin <DIR>/two.c <DIR>/two.h <DIR>/two.bin";
const std::vector<std::string> kPrerequisites = {"cfg.vfg",      "my font.sym",    "a#b.cp",
                                                 "gcolor_4.pal", "sub dir/$x.bmp", "own.pal"};

TEST(Depfile, NamesEveryFileWrittenAndRead) {
  TempDir dir;
  write_inputs(dir);
  const RunResult r = run_tralk(dir.path(), "--depfile deps.d cfg.vfg");
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_TRUE(
      ends_with(r.out, host_text("\n Dependency file: \"<DIR>/deps.d\"", dir.path()) + kDone))
      << r.out;
  EXPECT_EQ(TempDir::read(dir.path() / "deps.d"),
            host_text(std::string(kTargets) +
                          ": <DIR>/cfg.vfg \\\n <DIR>/my\\ font.sym \\\n <DIR>/a\\#b.cp \\\n"
                          " <DIR>/gcolor_4.pal \\\n <DIR>/sub\\ dir/$$x.bmp \\\n <DIR>/own.pal\n",
                      dir.path()));
}

// make reads the file back: with every input older than the outputs each
// output is up to date, and any one input made newer remakes each of them.
TEST(Depfile, MakeReadsItBack) {
  if (test_host().windows) GTEST_SKIP() << "make reads POSIX paths; the Linux run checks this";
  TempDir dir;
  write_inputs(dir);
  ASSERT_EQ(run_tralk(dir.path(), "--depfile deps.d cfg.vfg", kLinuxOnly).status, 0);
  dir.write("Makefile", "include deps.d\n$(TARGET):\n\t@echo remade\n");
  const auto now = fs::file_time_type::clock::now();
  const auto set_age = [&](const std::string& name, int hours) {
    fs::last_write_time(dir.path() / name, now - std::chrono::hours(hours));
  };
  for (const std::string& p : kPrerequisites) set_age(p, 2);
  for (const char* target : {"one.c", "one.h", "one.bin", "two.c", "two.h", "two.bin"}) {
    const std::string path = dir.file(target);
    const std::string make =
        "make -r TARGET=" + shell_quote(path) + " " + shell_quote(path) + " 2>&1";
    set_age(target, 1);
    EXPECT_EQ(run_shell(dir.path(), make), "make: '" + path + "' is up to date.\n") << target;
    for (const std::string& p : kPrerequisites) {
      set_age(p, 0);
      EXPECT_EQ(run_shell(dir.path(), make), "remade\n") << target << " after " << p;
      set_age(p, 2);
    }
  }
}

TEST(Depfile, NotWrittenAfterAFailedRun) {
  struct {
    const char* config;
    const char* args;
    bool old_file;  // a dependency file of an earlier run is there
  } cases[] = {
      {"a.bin\nmissing.sym\n", "--depfile deps.d cfg.vfg", false},
      {"a.bin\nmissing.sym\n", "--depfile deps.d cfg.vfg", true},
      {"nodir/a.bin\nf.sym\n", "--depfile deps.d cfg.vfg", false},
      {"nodir/a.bin\nf.sym\n", "--depfile deps.d cfg.vfg", true},
      {"a.bin\nf.sym\n", "--depfile nodir/deps.d cfg.vfg", false},
  };
  for (const auto& c : cases) {
    TempDir dir;
    dir.write("cfg.vfg", c.config);
    dir.write("f.sym", kFont);
    if (c.old_file) dir.write("deps.d", "old");
    const RunResult r = run_tralk(dir.path(), c.args);
    EXPECT_EQ(r.status, 255) << c.config;
    EXPECT_EQ(TempDir::read(dir.path() / "deps.d"), c.old_file ? "old" : "") << c.config;
    EXPECT_EQ(fs::exists(dir.path() / "deps.d"), c.old_file) << c.config;
    for (const auto& e : fs::directory_iterator(dir.path()))
      EXPECT_EQ(e.path().filename().string().find(".tmp"), std::string::npos) << e.path();
  }
  // The dependency file alone failed: the run says so; the images stand.
  TempDir dir;
  dir.write("cfg.vfg", "a.bin\nf.sym\n");
  dir.write("f.sym", kFont);
  const RunResult r = run_tralk(dir.path(), "--depfile nodir/deps.d cfg.vfg");
  EXPECT_TRUE(ends_with(
      r.out,
      host_text("\n Error could write to: \"<DIR>/nodir/deps.d\"\n No such file or directory",
                dir.path()) +
          kWriteFailed))
      << r.out;
  EXPECT_TRUE(fs::exists(dir.path() / "a.bin"));
}

// Names that make or ninja would read as something else are refused as the
// run meets them, before any file is written: a name can end a rule, start a
// command, make a pattern or a glob, or split into two names.
TEST(Depfile, NamesABuildCannotHoldAreRefused) {
  if (test_host().windows) GTEST_SKIP() << "Windows file names hold none of these";
  const char kRefused[] =
      ": a dependency file cannot name it\nSkipping config file processing due to errors\n"
      "\nPress a key to Exit\n";
  struct Case {
    const char* config;
    const char* font;   // the font file beside it
    const char* named;  // the file the message names
    const char* shown;  // the character as it shows it
  } cases[] = {
      {"a.bin\nx*.sym\n", "x\ny.sym", "x\ny.sym", "0x0A"},
      {"a.bin\n*.sym\n", ";touch${IFS}INJECTED;x.sym", ";touch${IFS}INJECTED;x.sym", "\";\""},
      {"a.bin\n*.sym\n", "pct%x.sym", "pct%x.sym", "\"%\""},
      {"a.bin\n*.sym\n", "eq=x.sym", "eq=x.sym", "\"=\""},
      {"a.bin\n*.sym\n", "q'x.sym", "q'x.sym", "\"'\""},
      {"a.bin\n*.sym\n", "pipe|x.sym", "pipe|x.sym", "\"|\""},
      {"a.bin\n*.sym\n", "tick`x.sym", "tick`x.sym", "\"`\""},
      {"a.bin\n*.sym\n", "br[1].sym", "br[1].sym", "\"[\""},
      {"a.bin\n*.sym\n", "amp&x.sym", "amp&x.sym", "\"&\""},
      {"eq=x.bin\nf.sym\n", "f.sym", "eq=x.c", "\"=\""},
      {"semi;x.bin\nf.sym\n", "f.sym", "semi;x.c", "\";\""},
  };
  for (const Case& c : cases) {
    TempDir dir;
    dir.write("cfg.vfg", c.config);
    dir.write(c.font, kFont);
    const RunResult r = run_tralk(dir.path(), "--depfile deps.d cfg.vfg", kLinuxOnly);
    const std::string line = "\n- File name \"" + dir.file(c.named) + "\" holds " + c.shown;
    EXPECT_TRUE(ends_with(r.out, line + kRefused)) << r.out;
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(dir.entries(), (std::set<std::string>{"cfg.vfg", c.font})) << c.font;
  }
  // An image whose header no C file could include is refused with or
  // without a dependency file.
  TempDir dir;
  dir.write("cfg.vfg", "lt<x>.bin\nf.sym\n");
  dir.write("f.sym", kFont);
  const RunResult r = run_tralk(dir.path(), "cfg.vfg", kLinuxOnly);
  EXPECT_TRUE(ends_with(r.out,
                        "\nConfig file: image name \"lt<x>.bin\" holds \"<\": its header could not "
                        "be included\nSkipping config file processing due to errors\n"
                        "\nPress a key to Exit\n"))
      << r.out;
  EXPECT_EQ(dir.entries(), (std::set<std::string>{"cfg.vfg", "f.sym"}));
}

// Every other name make and ninja read back as exactly that file: ninja,
// reading the dependency file of the command that wrote it, records these
// very paths, and make remakes the image for each of them.
TEST(Depfile, NinjaReadsItBack) {
  if (test_host().windows) GTEST_SKIP() << "the Linux run checks this";
  if (run_shell(fs::temp_directory_path(), "command -v ninja").empty())
    GTEST_SKIP() << "needs ninja (ninja-build)";
  const std::vector<std::string> fonts = {
      "sp ace.sym",  "ha#sh.sym",    "do$llar.sym",  "co:lon.sym",
      "pa(re)n.sym", "b!a@n+g,.sym", "cu{r}ly~.sym", "\xC3\xA9t\xC3\xA9.sym"};
  TempDir dir;
  std::string config = "img.bin\n";
  for (const std::string& f : fonts) {
    config += "\"" + f + "\"  F" + std::to_string(&f - fonts.data()) + "\n";
    dir.write(f, kFont);
  }
  dir.write("cfg.vfg", config);
  dir.write("build.ninja", "rule tralk\n  command = " + shell_quote(TRALK_EXE) +
                               " --depfile deps.d cfg.vfg >/dev/null\n"
                               "  depfile = deps.d\n  deps = gcc\n"
                               "build img.c img.h img.bin: tralk\n");
  ASSERT_EQ(run_command(dir.path(), "ninja 2>&1").status, 0);
  std::set<std::string> recorded;
  std::istringstream lines(run_shell(dir.path(), "ninja -t deps img.c"));
  std::string line;
  std::getline(lines, line);  // "img.c: #deps N, ..."
  while (std::getline(lines, line))
    if (line.size() > 4) recorded.insert(line.substr(4));
  std::set<std::string> expected{dir.file("cfg.vfg")};
  for (const std::string& f : fonts) expected.insert(dir.file(f));
  EXPECT_EQ(recorded, expected);
  EXPECT_EQ(run_shell(dir.path(), "ninja"), "ninja: no work to do.\n");
  // make: img.c is up to date, and remade after any one font is touched.
  // (ninja removed the dependency file once it had read it.)
  ASSERT_EQ(run_tralk(dir.path(), "--depfile deps.d cfg.vfg", kLinuxOnly).status, 0);
  dir.write("Makefile", "include deps.d\n$(TARGET):\n\t@echo remade\n");
  const auto now = fs::file_time_type::clock::now();
  for (const std::string& f : fonts)
    fs::last_write_time(dir.path() / f, now - std::chrono::hours(2));
  fs::last_write_time(dir.path() / "cfg.vfg", now - std::chrono::hours(2));
  const std::string target = dir.file("img.c");
  const std::string make = "make -r TARGET=" + shell_quote(target) + " " + shell_quote(target);
  EXPECT_EQ(run_shell(dir.path(), make + " 2>&1"), "make: '" + target + "' is up to date.\n");
  for (const std::string& f : fonts) {
    fs::last_write_time(dir.path() / f, now);
    EXPECT_EQ(run_shell(dir.path(), make + " 2>&1"), "remade\n") << f;
    fs::last_write_time(dir.path() / f, now - std::chrono::hours(2));
  }
}

}  // namespace
