// tralk-import's man page describes the options of each subcommand: the
// names of its FONT OPTIONS and PICTURE OPTIONS entries are those of the
// tables that each subcommand's --help is printed from.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "cli/option_help.h"
#include "import/fonts/font_options.h"
#include "import/pictures/picture_options.h"
#include "support/man_options.h"
#include "support/tempdir.h"

namespace {

std::set<std::string> names_of(std::span<const tralk::cli::OptionGroup> groups) {
  const std::vector<std::string> names = tralk::cli::option_names(groups);
  return {names.begin(), names.end()};
}

TEST(ManPage, ImportDescribesTheOptionsOfBothTables) {
  const std::string page = TempDir::read(TRALK_MAN "/tralk-import.1");
  ASSERT_FALSE(page.empty());
  EXPECT_EQ(man_option_names(page, "FONT OPTIONS"),
            names_of(tralk::importer::font_option_groups()));
  EXPECT_EQ(man_option_names(page, "PICTURE OPTIONS"),
            names_of(tralk::importer::picture_option_groups()));
}

}  // namespace
