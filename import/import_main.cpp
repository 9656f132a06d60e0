#include "import/import_main.h"

#include <string>

#include "base/console.h"
#include "cli/exit_status.h"
#include "cli/option_table.h"
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

const cli::OptionTable<ImportOptions> kOptions(cli::Syntax::mixed,
                                               {{"Options:",
                                                 {{"--version",
                                                   nullptr,
                                                   cli::Given::once,
                                                   {"print the version and exit"},
                                                   cli::set_flag<&ImportOptions::version>},
                                                  {"-h, --help",
                                                   nullptr,
                                                   cli::Given::once,
                                                   {"print this help and exit"},
                                                   cli::set_flag<&ImportOptions::help>}}}});

void print_usage() {
  con_printf("Usage: tralk-import SUBCOMMAND [OPTIONS]\n\nSubcommands:\n");
  for (const Subcommand& s : kSubcommands) con_printf("  %-7s %s\n", s.name, s.summary);
  con_printf("\n%s", kOptions.help(2, 14).c_str());
  con_printf("\n\"tralk-import SUBCOMMAND --help\" describes each.\n");
}

// The first argument is a subcommand or an option of the importer's own;
// what follows an option of its own is not read.
int run_own_option(const char* const* argv) {
  ImportOptions opts;
  const Status read = kOptions.read(1, argv, opts, [](ImportOptions&, std::string_view) {
    return Status(Failure{Fault::usage, ""});
  });
  if (!read.ok()) {
    con_printf("tralk-import: unknown subcommand \"%s\"; \"tralk-import --help\" lists them\n",
               argv[0]);
    return cli::kImportUsage;
  }
  if (opts.version) {
    con_printf("%s", cli::version_line("tralk-import").c_str());
  } else {
    print_usage();
  }
  return cli::kImportDone;
}

}  // namespace

const cli::OptionTable<ImportOptions>& import_option_table() {
  return kOptions;
}

int run_import(int argc, const char* const* argv) {
  if (argc < 1) {
    print_usage();
    return cli::kImportUsage;
  }
  for (const Subcommand& s : kSubcommands)
    if (std::string_view(argv[0]) == s.name) return s.run(argc - 1, argv + 1);
  return run_own_option(argv);
}

}  // namespace tralk::importer
