// The man pages describe the options the programs take: the names of their
// OPTIONS entries are those of the tables that --help is printed from.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "cli/option_table.h"
#include "driver/cmdline.h"
#include "inspect/options.h"
#include "support/man_options.h"
#include "support/tempdir.h"

namespace {

TEST(ManPage, TralkDescribesTheOptionsOfItsTable) {
  const std::vector<std::string> names = tralk_options().names();
  const std::string page = TempDir::read(TRALK_MAN "/tralk.1");
  ASSERT_FALSE(page.empty());
  EXPECT_EQ(man_option_names(page, "OPTIONS"), std::set<std::string>(names.begin(), names.end()));
  EXPECT_EQ(repeats_unsaid(tralk_options()), std::vector<std::string>{});
}

TEST(ManPage, InspectDescribesTheOptionsOfItsTable) {
  const std::vector<std::string> names = tralk::inspector::inspect_option_table().names();
  const std::string page = TempDir::read(TRALK_MAN "/tralk-inspect.1");
  EXPECT_EQ(man_option_names(page, "OPTIONS"), std::set<std::string>(names.begin(), names.end()));
  EXPECT_EQ(repeats_unsaid(tralk::inspector::inspect_option_table()), std::vector<std::string>{});
}

// The reading itself: each form of entry line, other sections ignored.
TEST(ManPage, OptionNamesAreReadFromEntryLines) {
  const std::string page =
      ".SH SYNOPSIS\n.TP\n.B \\-\\-not\\-here\n.SH OPTIONS\nText \\-\\-mentioned.\n.TP\n"
      ".BI \\-\\-depfile \" FILE\"\nAfter a run \\-\\-too.\n.TP\n.BR \\-h \", \" \\-\\-help\n"
      ".TP\n.B \\-\\-no\\-cp\n.SH \"EXIT STATUS\"\n.TP\n.B \\-\\-late\n";
  EXPECT_EQ(man_option_names(page, "OPTIONS"),
            (std::set<std::string>{"--depfile", "-h", "--help", "--no-cp"}));
}

}  // namespace
