// The command line: options before the configuration file's name.
//
// A command line of one argument keeps its old meaning (the configuration
// file), except for the two that stand alone, "--version" and "--help". With
// more arguments, options come first and the configuration's name last.
//
// The options are one table (tralk_options, cli/option_table.h): the command
// line is read through it, --help is printed from it, and a test holds the man
// page to its names. The words of a bad command line are tralk's own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/option_table.h"

enum class CmdAction {
  kRun,         // process config with the options
  kBareUsage,   // no argument, or an empty one: the usage text as ever
  kBadOptions,  // a malformed command line with options: error, then usage
  kHelp,        // --help
  kVersion,     // --version
};

// What a run does with the configuration: act on it, or only name files.
enum class ListMode {
  kNone,     // a run
  kOutputs,  // --list-outputs: the files a run would write
  kInputs,   // --list-inputs: the input entries as written
  kFonts,    // --list-fonts: the fonts' C names, each with its image
};

struct CmdLine {
  CmdAction action = CmdAction::kBareUsage;
  std::string config;                     // as given
  std::optional<std::string> depfile;     // as given
  std::optional<std::string> output_dir;  // as given
  std::vector<std::string> input_dirs;    // as given, in order
  std::optional<uint64_t> max_size;       // bytes
  bool quiet = false;
  bool strict = false;
  bool checksum = false;  // --checksum
  ListMode list = ListMode::kNone;
  std::string error;  // for kBadOptions: the message, ready to print
};

// tralk's options, in the order --help describes them; a group is a line of
// the synopsis.
const tralk::cli::OptionTable<CmdLine>& tralk_options();

CmdLine parse_cmdline(int argc, const char* const* argv);

// Prints "tralk VERSION" and a line end.
void print_version();
// Prints what the options do (follows the usage text).
void print_options();

// The options' paths resolved against the current directory, before the
// program moves to the configuration's folder.
struct RunPaths {
  std::optional<std::string> depfile;
  std::optional<std::string> output_dir;
  std::vector<std::string> input_dirs;
};

// Resolves the paths of the options and checks that the output folder
// exists; false after a message naming what is wrong.
bool resolve_run_paths(const CmdLine& cmd, RunPaths& paths);
