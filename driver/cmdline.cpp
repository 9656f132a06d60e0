#include "driver/cmdline.h"

#include <filesystem>
#include <string_view>
#include <system_error>
#include <utility>

#include "base/byte_size.h"
#include "base/console.h"
#include "base/path.h"
#include "base/text.h"

namespace {

using tralk::cli::Given;
using tralk::cli::OptionArg;
using tralk::cli::OptionProblem;

// The help's columns: the option and its value, then what it does.
constexpr size_t kHelpIndent = 3;
constexpr size_t kHelpColumn = 21;

template <CmdAction action>
Status act(CmdLine& cmd, const OptionArg&) {
  cmd.action = action;
  return {};
}

template <ListMode mode>
Status list(CmdLine& cmd, const OptionArg&) {
  cmd.list = mode;
  return {};
}

Status read_max_size(CmdLine& cmd, const OptionArg& arg) {
  cmd.max_size = parse_byte_size(arg.value());
  if (cmd.max_size) return {};
  return Failure{Fault::usage, "needs a number of bytes, KiB or MiB"};
}

using tralk::cli::append;
using tralk::cli::set_flag;
using tralk::cli::store;

// A group is a line of the synopsis.
const tralk::cli::OptionTable<CmdLine> kOptions(
    tralk::cli::Syntax::options_first,
    {{nullptr,
      {{"--depfile",
        "FILE",
        Given::once,
        {"after a successful run, write a Make dependency file naming",
         "the files written as targets, the files read as prerequisites"},
        store<&CmdLine::depfile>},
       {"--output-dir",
        "DIR",
        Given::once,
        {"write images with relative names under the existing folder",
         "DIR instead of beside the configuration file (inputs are",
         "still found beside the configuration file)"},
        store<&CmdLine::output_dir>},
       {"--checksum",
        nullptr,
        Given::once,
        {"add the CRC-32 of each image (as zlib computes it) to its",
         "header: #define NAME_CRC32 0x..."},
        set_flag<&CmdLine::checksum>}}},
     {nullptr,
      {{"--input-dir",
        "DIR",
        Given::repeatable,
        {"look for an input with a relative name that is not beside the",
         "configuration file in DIR; given more than once, the folders", "are searched in order"},
        append<&CmdLine::input_dirs>},
       {"--max-size",
        "N",
        Given::once,
        {"fail the run when an image is larger than N bytes (N may be",
         "hexadecimal, 0x..., and end in KiB or MiB); no file of that", "image is written"},
        read_max_size},
       {"--quiet",
        nullptr,
        Given::once,
        {"print only warnings and errors"},
        set_flag<&CmdLine::quiet>},
       {"--strict",
        nullptr,
        Given::once,
        {"fail the run on a warning, as on an error"},
        set_flag<&CmdLine::strict>}}},
     {nullptr,
      {{"--list-outputs",
        nullptr,
        Given::one_of,
        {"print the files a run would write, one per line, and nothing", "else; no input is read"},
        list<ListMode::kOutputs>},
       {"--list-inputs",
        nullptr,
        Given::one_of,
        {"print the input entries of the configuration as written, one",
         "per line, and nothing else; no input is read"},
        list<ListMode::kInputs>},
       {"--list-fonts",
        nullptr,
        Given::one_of,
        {"print the C name of every font with the image it goes into,",
         "one per line, and nothing else; no input is read"},
        list<ListMode::kFonts>}}},
     {nullptr,
      {{"--version",
        nullptr,
        Given::alone,
        {"print the version and exit"},
        act<CmdAction::kVersion>},
       {"--help", nullptr, Given::alone, {"print this text and exit"}, act<CmdAction::kHelp>}}}});

// tralk's words for what is wrong with a command line, args being the
// arguments after the program's name.
std::string failure_text(const Failure& failure, const char* const* args) {
  const std::string option = in_quotes(args[failure.at.item]);
  switch (static_cast<OptionProblem>(failure.at.field)) {
    case OptionProblem::unknown:
      return "\n Unknown option: " + option;
    case OptionProblem::missing_value:
      return "\n Option " + option + " needs a value";
    case OptionProblem::given_twice:
      return "\n Option " + option + " given twice";
    case OptionProblem::excluded:
      return "\n Options " + in_quotes(failure.text) + " and " + option + " exclude each other";
    case OptionProblem::not_alone:
      return "\n Option " + option + " must be the only argument";
    case OptionProblem::bad_value:
      return "\n Option " + option + " " + failure.text + ": " +
             in_quotes(args[failure.at.item + 1]);
    case OptionProblem::operand:
      break;
  }
  return failure.text;
}

CmdLine bad(CmdLine cmd, std::string message) {
  cmd.action = CmdAction::kBadOptions;
  cmd.error = std::move(message);
  return cmd;
}

// The one-argument command line, as it has always been read: an option that
// stands alone, or the configuration's name.
CmdLine parse_single(std::string_view arg) {
  CmdLine cmd;
  if (arg.empty()) return cmd;
  for (const auto& group : kOptions.groups()) {
    for (const auto& option : group.options) {
      if (option.given == Given::alone && arg == option.names) {
        (void)option.read(cmd, {arg, {}});
        return cmd;
      }
    }
  }
  cmd.action = CmdAction::kRun;
  cmd.config = arg;
  return cmd;
}

// One line of the synopsis: the options of a group as the table describes them.
std::string synopsis_line(const tralk::cli::OptionGroup<CmdLine>& group) {
  std::string items;
  bool takes_config = true;
  for (const auto& option : group.options) {
    const bool alternatives = option.given == Given::one_of || option.given == Given::alone;
    if (!items.empty()) items += alternatives ? " | " : " ";
    if (alternatives) {
      items += option.names;
    } else {
      items += "[" + std::string(option.names) +
               (option.value ? " " + std::string(option.value) : "") + "]" +
               (option.given == Given::repeatable ? "..." : "");
    }
    if (option.given == Given::alone) takes_config = false;
  }
  return "   TRALK " + items + (takes_config ? " config_file.vfg" : "") + "\n";
}

std::string options_text() {
  std::string text = "\n Options, before the configuration file:\n";
  for (const auto& group : kOptions.groups()) text += synopsis_line(group);
  for (const auto& group : kOptions.groups()) {
    for (const auto& option : group.options)
      text += tralk::cli::option_help(option.names, option.value, option.help, kHelpIndent,
                                      kHelpColumn);
  }
  return text;
}

std::optional<std::string> resolve_named(const std::string& name) {
  std::optional<std::string> full = path_full(name);
  if (!full) con_printf("\nERROR: Illegal file name format: \"%s\"", name.c_str());
  return full;
}

}  // namespace

const tralk::cli::OptionTable<CmdLine>& tralk_options() {
  return kOptions;
}

CmdLine parse_cmdline(int argc, const char* const* argv) {
  if (argc < 2) return CmdLine{};
  if (argc == 2) return parse_single(argv[1]);
  CmdLine cmd;
  bool config_given = false;
  const char* const* args = argv + 1;
  const Status read =
      kOptions.read(argc - 1, args, cmd, [&](CmdLine& into, std::string_view arg) -> Status {
        if (config_given)
          return Failure{Fault::usage,
                         "\n Unexpected argument after the configuration file: " + in_quotes(arg)};
        config_given = true;
        into.config = arg;
        return {};
      });
  if (!read.ok()) return bad(cmd, failure_text(read.failure(), args));
  if (!config_given) return bad(cmd, "\n No configuration file after the options");
  cmd.action = CmdAction::kRun;
  return cmd;
}

void print_version() {
  con_printf("%s", tralk::cli::version_line("tralk").c_str());
}

void print_options() {
  con_printf("%s", options_text().c_str());
}

bool resolve_run_paths(const CmdLine& cmd, RunPaths& paths) {
  if (cmd.depfile && !(paths.depfile = resolve_named(*cmd.depfile))) return false;
  for (const std::string& dir : cmd.input_dirs) {
    std::optional<std::string> full = resolve_named(dir);
    if (!full) return false;
    paths.input_dirs.push_back(std::move(*full));
  }
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
