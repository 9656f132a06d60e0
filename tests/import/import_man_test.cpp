// tralk-import's man page describes its own options and those of each
// subcommand: the names of its OPTIONS, FONT OPTIONS, PICTURE OPTIONS and
// PALETTE OPTIONS entries are those of the tables that each --help is printed
// from.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "cli/option_table.h"
#include "import/fonts/font_options.h"
#include "import/import_main.h"
#include "import/pictures/palette_options.h"
#include "import/pictures/picture_options.h"
#include "support/man_options.h"
#include "support/tempdir.h"

namespace {

template <class Settings>
std::set<std::string> names_of(const tralk::cli::OptionTable<Settings>& table) {
  const std::vector<std::string> names = table.names();
  return {names.begin(), names.end()};
}

TEST(ManPage, ImportDescribesTheOptionsOfEachTable) {
  const std::string page = TempDir::read(TRALK_MAN "/tralk-import.1");
  ASSERT_FALSE(page.empty());
  EXPECT_EQ(man_option_names(page, "OPTIONS"), names_of(tralk::importer::import_option_table()));
  EXPECT_EQ(man_option_names(page, "FONT OPTIONS"), names_of(tralk::importer::font_option_table()));
  EXPECT_EQ(man_option_names(page, "PICTURE OPTIONS"),
            names_of(tralk::importer::picture_option_table()));
  EXPECT_EQ(man_option_names(page, "PALETTE OPTIONS"),
            names_of(tralk::importer::palette_option_table()));
  for (const auto& unsaid : {repeats_unsaid(tralk::importer::font_option_table()),
                             repeats_unsaid(tralk::importer::picture_option_table()),
                             repeats_unsaid(tralk::importer::palette_option_table())})
    EXPECT_EQ(unsaid, std::vector<std::string>{});
}

}  // namespace
