// The inspector's command line.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "base/outcome.h"
#include "cli/charset.h"
#include "cli/option_help.h"

namespace tralk::inspector {

struct InspectOptions {
  std::string image;                      // the image file
  bool help = false;                      // --help
  std::optional<uint32_t> show;           // --show N
  std::string png;                        // --png FILE
  std::optional<uint32_t> font;           // --font N
  std::string font_name;                  // --font NAME, before it is looked up
  std::optional<std::string> strings;     // --strings FILE
  std::string pal;                        // --pal FILE
  bool grey = false;                      // --grey
  uint32_t scale = 0;                     // --scale K; 0 picks one
  std::optional<std::string> text;        // --text TEXT, UTF-8
  std::optional<cli::Encoding> encoding;  // --encoding E
  // A dump of a chip (inspect/dump_image.h).
  std::optional<std::string> at;       // --at OFFSET or NAME
  std::optional<std::string> chip;     // --chip FILE
  std::optional<std::string> compare;  // --compare FILE
};

// Reads the arguments after the program name. A usage failure, with the
// reason, for a bad command line.
Outcome<InspectOptions> parse_options(int argc, const char* const* argv);

// The --help text.
std::string inspect_help();
// The table of options that --help is printed from.
std::span<const cli::OptionGroup> inspect_option_groups();

}  // namespace tralk::inspector
