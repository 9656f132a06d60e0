// docs/makefile-project.md: its Makefile builds the example project with
// tralk-import and tralk and their dependency files, is idle when nothing
// changed, and imports again only the font that was touched.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/run_tralk.h"
#include "support/tempdir.h"

namespace fs = std::filesystem;

namespace {

// The text of the page's first ```make block.
std::string makefile_of(const std::string& page) {
  const std::string open = "```make\n";
  const size_t start = page.find(open);
  if (start == std::string::npos) return "";
  const size_t end = page.find("```\n", start + open.size());
  return page.substr(start + open.size(), end - start - open.size());
}

TEST(DocsMakefile, BuildsTheExampleAndRemakesOnlyWhatChanged) {
  const std::string makefile = makefile_of(TempDir::read(TRALK_DOCS "/makefile-project.md"));
  ASSERT_FALSE(makefile.empty());
  TempDir dir;
  fs::copy(TRALK_EXAMPLES "/cmake-project", dir.path(), fs::copy_options::recursive);
  dir.write("Makefile", makefile);
  const std::string make = "make TRALK=" + shell_quote(TRALK_EXE) +
                           " TRALK_IMPORT=" + shell_quote(TRALK_IMPORT_EXE) +
                           " GDISP=" + shell_quote(TRALK_FIXTURES) + " 2>&1";
  RunResult r = run_command(dir.path(), make);
  ASSERT_EQ(r.status, 0) << r.out;
  r = run_command(dir.path(), "build/firmware build/ui/ui.bin term 12:30");
  EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "...##.....####............####....####..");
  r = run_command(dir.path(), make);
  EXPECT_EQ(r.out, "make: Nothing to be done for 'all'.\n");
  fs::last_write_time(dir.path() / "fonts/term8.bdf", fs::file_time_type::clock::now());
  r = run_command(dir.path(), make);
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("term8.bdf"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("DejaVuSans"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("logo.png"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("--input-dir"), std::string::npos) << r.out;
  r = run_command(dir.path(), make);
  EXPECT_EQ(r.out, "make: Nothing to be done for 'all'.\n");
}

}  // namespace
