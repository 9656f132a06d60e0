// The command line of "tralk-import palette".
#pragma once

#include <string>
#include <vector>

#include "base/outcome.h"
#include "base/palette.h"
#include "cli/option_table.h"

namespace tralk::importer {

struct PaletteOptions {
  std::vector<std::string> pictures;     // PICTURE...
  std::string out;                       // -o
  unsigned colours = 0;                  // --colours
  RGBTRIPLET background{255, 255, 255};  // --background
  bool help = false;                     // --help
  bool quiet = false;                    // --quiet
};

// Reads the arguments after "palette". A usage failure, with the reason, for
// a bad command line.
Outcome<PaletteOptions> parse_palette_options(int argc, const char* const* argv);

// The --help text of "tralk-import palette".
std::string palette_help();
// The table of options that the command line is read through and --help is
// printed from.
const cli::OptionTable<PaletteOptions>& palette_option_table();

}  // namespace tralk::importer
