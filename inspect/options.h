// The inspector's command line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/outcome.h"
#include "cli/charset.h"
#include "cli/option_table.h"

namespace tralk::inspector {

// One --font value: a block number or a font name, and the encoding of its
// codepage's codes when one is given after a colon (--font Small8:CP1251).
struct FontChoice {
  std::string given;                      // the value as given, before the colon
  std::optional<uint32_t> number;         // a block number
  std::optional<cli::Encoding> encoding;  // after the colon
};

struct InspectOptions {
  std::string image;                      // the image file
  bool help = false;                      // --help
  bool version = false;                   // --version
  std::optional<uint32_t> show;           // --show N
  std::string png;                        // --png FILE
  std::optional<uint32_t> font;           // the first --font, as a block number
  std::string font_name;                  // the first --font NAME, before it is looked up
  std::vector<FontChoice> fonts;          // every --font, in order
  std::vector<std::string> strings;       // every --strings FILE, in order
  std::string json;                       // --json FILE; "-" for standard output
  bool quiet = false;                     // --quiet
  std::optional<uint32_t> max_width;      // --max-width PIXELS
  std::optional<uint32_t> max_lines;      // --max-lines N
  std::optional<uint32_t> line_height;    // --line-height PIXELS
  std::optional<uint32_t> spacing;        // --spacing N
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
// The table of options that the command line is read through and --help is
// printed from.
const cli::OptionTable<InspectOptions>& inspect_option_table();

}  // namespace tralk::inspector
