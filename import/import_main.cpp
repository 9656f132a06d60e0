#include "import/import_main.h"

#include <string_view>

#include "base/console.h"
#include "cli/exit_status.h"
#include "import/fonts/font_command.h"
#include "import/pictures/palette_command.h"
#include "import/pictures/picture_command.h"

namespace tralk::importer {

namespace {

struct Subcommand {
  const char* name;
  const char* summary;
  int (*run)(int argc, const char* const* argv);
};

// Each kind of input has its subcommand; a new one is a new line here.
const Subcommand kSubcommands[] = {
    {"font", "a TrueType, OpenType, BDF or PCF font as a .sym font and its .cp codepage",
     run_font_command},
    {"picture", "a PNG or BMP picture as an uncompressed BMP picture, transparency flattened",
     run_picture_command},
    {"palette", "one .pal palette for several pictures, reduced by median cut where needed",
     run_palette_command},
};

void print_usage() {
  con_printf("Usage: tralk-import SUBCOMMAND [OPTIONS]\n\nSubcommands:\n");
  for (const Subcommand& s : kSubcommands) con_printf("  %-7s %s\n", s.name, s.summary);
  con_printf("\n\"tralk-import SUBCOMMAND --help\" describes each.\n");
}

}  // namespace

int run_import(int argc, const char* const* argv) {
  if (argc < 1) {
    print_usage();
    return cli::kImportUsage;
  }
  const std::string_view name = argv[0];
  if (name == "-h" || name == "--help") {
    print_usage();
    return cli::kImportDone;
  }
  for (const Subcommand& s : kSubcommands)
    if (name == s.name) return s.run(argc - 1, argv + 1);
  con_printf("tralk-import: unknown subcommand \"%s\"; \"tralk-import --help\" lists them\n",
             argv[0]);
  return cli::kImportUsage;
}

}  // namespace tralk::importer
