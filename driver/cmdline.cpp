#include "driver/cmdline.h"

#include <filesystem>
#include <string_view>
#include <system_error>

#include "base/console.h"
#include "driver/path.h"

#ifndef TRALK_VERSION
#error "TRALK_VERSION must name the project's version (set by CMake)"
#endif

namespace {

const char kOptionsText[] =
    "\n Options, before the configuration file:\n"
    "   TRALK [--depfile FILE] [--output-dir DIR] config_file.vfg\n"
    "   TRALK --version | --help\n"
    "   --depfile FILE    after a successful run, write a Make dependency file naming\n"
    "                     the files written as targets, the files read as prerequisites\n"
    "   --output-dir DIR  write images with relative names under the existing folder\n"
    "                     DIR instead of beside the configuration file (inputs are\n"
    "                     still found beside the configuration file)\n"
    "   --version         print the version and exit\n"
    "   --help            print this text and exit\n";

CmdLine bad(std::string message) {
  CmdLine cmd;
  cmd.action = CmdAction::kBadOptions;
  cmd.error = std::move(message);
  return cmd;
}

std::string quoted(std::string_view s) {
  return "\"" + std::string(s) + "\"";
}

// The one-argument command line, as it has always been read.
CmdLine parse_single(std::string_view arg) {
  CmdLine cmd;
  if (arg.empty()) return cmd;
  if (arg == "--version") {
    cmd.action = CmdAction::kVersion;
  } else if (arg == "--help") {
    cmd.action = CmdAction::kHelp;
  } else {
    cmd.action = CmdAction::kRun;
    cmd.config = arg;
  }
  return cmd;
}

std::optional<std::string>* value_slot(CmdLine& cmd, std::string_view option) {
  if (option == "--depfile") return &cmd.depfile;
  if (option == "--output-dir") return &cmd.output_dir;
  return nullptr;
}

std::optional<std::string> resolve_named(const std::string& name) {
  std::optional<std::string> full = path_full(name);
  if (!full) con_printf("\nERROR: Illegal file name format: \"%s\"", name.c_str());
  return full;
}

}  // namespace

CmdLine parse_cmdline(int argc, const char* const* argv) {
  if (argc < 2) return CmdLine{};
  if (argc == 2) return parse_single(argv[1]);
  CmdLine cmd;
  int i = 1;
  for (; i < argc && std::string_view(argv[i]).substr(0, 2) == "--"; ++i) {
    const std::string_view option = argv[i];
    std::optional<std::string>* slot = value_slot(cmd, option);
    if (!slot) {
      if (option == "--help" || option == "--version")
        return bad("\n Option " + quoted(option) + " must be the only argument");
      return bad("\n Unknown option: " + quoted(option));
    }
    if (slot->has_value()) return bad("\n Option " + quoted(option) + " given twice");
    if (i + 1 == argc) return bad("\n Option " + quoted(option) + " needs a value");
    *slot = argv[++i];
  }
  if (i == argc) return bad("\n No configuration file after the options");
  if (i + 1 < argc) {
    return bad("\n Unexpected argument after the configuration file: " + quoted(argv[i + 1]));
  }
  cmd.action = CmdAction::kRun;
  cmd.config = argv[i];
  return cmd;
}

void print_version() {
  con_printf("tralk %s\n", TRALK_VERSION);
}

void print_options() {
  con_printf("%s", kOptionsText);
}

bool resolve_run_paths(const CmdLine& cmd, RunPaths& paths) {
  if (cmd.depfile && !(paths.depfile = resolve_named(*cmd.depfile))) return false;
  if (!cmd.output_dir) return true;
  paths.output_dir = resolve_named(*cmd.output_dir);
  if (!paths.output_dir) return false;
  // Images are written into the folder, never the folder itself: a missing
  // one is a mistake in the build, not something to make up.
  std::error_code ec;
  if (!std::filesystem::is_directory(*paths.output_dir, ec)) {
    con_printf("\nERROR: Output folder not found: \"%s\"", paths.output_dir->c_str());
    return false;
  }
  return true;
}
