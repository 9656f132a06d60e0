// The command line of "tralk-import picture".
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/outcome.h"
#include "base/palette.h"
#include "cli/option_table.h"
#include "import/pictures/grey_levels.h"
#include "import/pictures/picture_request.h"

namespace tralk::importer {

struct PictureOptions {
  PictureRequest request;              // the picture (PICTURE), --background and --depth
  std::string out;                     // -o
  std::optional<std::string> depfile;  // --depfile
  bool help = false;                   // --help
  bool quiet = false;                  // --quiet
  // b&w or grey levels: --dither, --threshold, --invert, --depth 2; its
  // levels follow from the depth
  std::optional<GreyReduction> grey;
  bool threshold_given = false;
  std::string pal;                       // --pal
  std::string palette;                   // --palette
  Dither palette_dither = Dither::none;  // --palette's --dither: none or floyd_steinberg
};

// A colour as six hex digits, red, green, blue; a leading "#" is allowed.
std::optional<RGBTRIPLET> parse_colour(std::string_view text);

// Reads the arguments after "picture". A usage failure, with the reason, for
// a bad command line.
Outcome<PictureOptions> parse_picture_options(int argc, const char* const* argv);

// The --help text of "tralk-import picture".
std::string picture_help();
// The table of options that the command line is read through and --help is
// printed from.
const cli::OptionTable<PictureOptions>& picture_option_table();

}  // namespace tralk::importer
