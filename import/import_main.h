// The importer program, tralk-import: subcommands that turn what users have
// (fonts, pictures) into tralk's input files.
#pragma once

#include "cli/option_table.h"

namespace tralk::importer {

// The importer's own options, given instead of a subcommand.
struct ImportOptions {
  bool version = false;  // --version
  bool help = false;     // -h, --help
};

// The table they are read through and printed from.
const cli::OptionTable<ImportOptions>& import_option_table();

// Runs the importer on the arguments after the program name; returns the
// exit status.
int run_import(int argc, const char* const* argv);

}  // namespace tralk::importer
