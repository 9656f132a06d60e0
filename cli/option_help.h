// The options of a companion program, as one table from which its --help is
// printed; the tests hold its man page to the same names.
#pragma once

#include <span>
#include <string>
#include <vector>

namespace tralk::cli {

// One option: its names ("-h, --help"), the word for its value (null for a
// flag) and the lines that say what it does.
struct OptionHelp {
  const char* names;
  const char* value;
  std::vector<const char*> text;
};

// Options under a title line ("Font:"), or under none (null).
struct OptionGroup {
  const char* title;
  std::vector<OptionHelp> options;
};

// The groups as --help shows them, a blank line between two: each option's
// names and value indented by indent, its text starting at column (or one
// blank after a longer name), further lines of text at column.
std::string options_help(std::span<const OptionGroup> groups, size_t indent, size_t column);

// Every name of every option: "-h" and "--help" for "-h, --help".
std::vector<std::string> option_names(std::span<const OptionGroup> groups);

}  // namespace tralk::cli
