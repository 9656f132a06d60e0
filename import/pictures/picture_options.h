// The command line of "tralk-import picture".
#pragma once

#include <string>

#include "import/pictures/picture_request.h"

struct PictureOptions {
  PictureRequest request;  // the picture (PICTURE), --background and --depth
  std::string out;         // -o
  bool help = false;       // --help
};

// Reads the arguments after "picture". False, with the reason in error, for
// a bad command line (the usage errors of tralk-import).
bool parse_picture_options(int argc, const char* const* argv, PictureOptions& opts,
                           std::string& error);

// The --help text of "tralk-import picture".
const char* picture_help();
