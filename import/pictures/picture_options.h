// The command line of "tralk-import picture".
#pragma once

#include <string>

#include "base/outcome.h"
#include "import/pictures/picture_request.h"

namespace tralk::importer {

struct PictureOptions {
  PictureRequest request;  // the picture (PICTURE), --background and --depth
  std::string out;         // -o
  bool help = false;       // --help
};

// Reads the arguments after "picture". A usage failure, with the reason, for
// a bad command line.
Outcome<PictureOptions> parse_picture_options(int argc, const char* const* argv);

// The --help text of "tralk-import picture".
const char* picture_help();

}  // namespace tralk::importer
