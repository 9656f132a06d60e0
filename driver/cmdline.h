// The command line: options before the configuration file's name.
//
// A command line of one argument keeps its old meaning (the configuration
// file), except for the two that stand alone, "--version" and "--help". With
// more arguments, options come first and the configuration's name last.
#pragma once

#include <optional>
#include <string>

enum class CmdAction {
  kRun,         // process config with the options
  kBareUsage,   // no argument, or an empty one: the usage text as ever
  kBadOptions,  // a malformed command line with options: error, then usage
  kHelp,        // --help
  kVersion,     // --version
};

struct CmdLine {
  CmdAction action = CmdAction::kBareUsage;
  std::string config;                     // as given
  std::optional<std::string> depfile;     // as given
  std::optional<std::string> output_dir;  // as given
  std::string error;                      // for kBadOptions: the message, ready to print
};

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
};

// Resolves the paths of the options and checks that the output folder
// exists; false after a message naming what is wrong.
bool resolve_run_paths(const CmdLine& cmd, RunPaths& paths);
