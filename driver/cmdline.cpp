#include "driver/cmdline.h"

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <utility>

#include "base/byte_size.h"
#include "base/console.h"
#include "base/text.h"
#include "driver/path.h"

#ifndef TRALK_VERSION
#error "TRALK_VERSION must name the project's version (set by CMake)"
#endif

namespace {

// The help's columns: the option and its value, then what it does.
constexpr size_t kHelpIndent = 3;
constexpr size_t kHelpColumn = 21;

std::string quoted(std::string_view s) {
  return "\"" + std::string(s) + "\"";
}

bool fail(CmdLine& cmd, std::string message) {
  cmd.error = std::move(message);
  return false;
}

const char* list_option(ListMode mode) {
  switch (mode) {
    case ListMode::kOutputs:
      return "--list-outputs";
    case ListMode::kInputs:
      return "--list-inputs";
    case ListMode::kFonts:
      return "--list-fonts";
    case ListMode::kNone:
      break;
  }
  return "";
}

bool set_list(CmdLine& cmd, ListMode mode) {
  if (cmd.list != ListMode::kNone)
    return fail(cmd, std::string("\n Options \"") + list_option(cmd.list) + "\" and \"" +
                         list_option(mode) + "\" exclude each other");
  cmd.list = mode;
  return true;
}

const std::vector<OptionEntry>& option_table() {
  static const std::vector<OptionEntry> table = {
      {"--depfile",
       "FILE",
       OptionUse::kOnce,
       1,
       {"after a successful run, write a Make dependency file naming",
        "the files written as targets, the files read as prerequisites"},
       [](CmdLine& cmd, const char* v) {
         cmd.depfile = v;
         return true;
       }},
      {"--output-dir",
       "DIR",
       OptionUse::kOnce,
       1,
       {"write images with relative names under the existing folder",
        "DIR instead of beside the configuration file (inputs are",
        "still found beside the configuration file)"},
       [](CmdLine& cmd, const char* v) {
         cmd.output_dir = v;
         return true;
       }},
      {"--checksum",
       nullptr,
       OptionUse::kOnce,
       1,
       {"add the CRC-32 of each image (as zlib computes it) to its",
        "header: #define NAME_CRC32 0x..."},
       [](CmdLine& cmd, const char*) { return cmd.checksum = true; }},
      {"--input-dir",
       "DIR",
       OptionUse::kRepeatable,
       2,
       {"look for an input with a relative name that is not beside the",
        "configuration file in DIR; given more than once, the folders", "are searched in order"},
       [](CmdLine& cmd, const char* v) {
         cmd.input_dirs.emplace_back(v);
         return true;
       }},
      {"--max-size",
       "N",
       OptionUse::kOnce,
       2,
       {"fail the run when an image is larger than N bytes (N may be",
        "hexadecimal, 0x..., and end in KiB or MiB); no file of that", "image is written"},
       [](CmdLine& cmd, const char* v) {
         cmd.max_size = parse_byte_size(v);
         if (cmd.max_size) return true;
         return fail(cmd,
                     "\n Option \"--max-size\" needs a number of bytes, KiB or MiB: " + quoted(v));
       }},
      {"--quiet",
       nullptr,
       OptionUse::kOnce,
       2,
       {"print only warnings and errors"},
       [](CmdLine& cmd, const char*) { return cmd.quiet = true; }},
      {"--strict",
       nullptr,
       OptionUse::kOnce,
       2,
       {"fail the run on a warning, as on an error"},
       [](CmdLine& cmd, const char*) { return cmd.strict = true; }},
      {"--list-outputs",
       nullptr,
       OptionUse::kChoice,
       3,
       {"print the files a run would write, one per line, and nothing", "else; no input is read"},
       [](CmdLine& cmd, const char*) { return set_list(cmd, ListMode::kOutputs); }},
      {"--list-inputs",
       nullptr,
       OptionUse::kChoice,
       3,
       {"print the input entries of the configuration as written, one",
        "per line, and nothing else; no input is read"},
       [](CmdLine& cmd, const char*) { return set_list(cmd, ListMode::kInputs); }},
      {"--list-fonts",
       nullptr,
       OptionUse::kChoice,
       3,
       {"print the C name of every font with the image it goes into,",
        "one per line, and nothing else; no input is read"},
       [](CmdLine& cmd, const char*) { return set_list(cmd, ListMode::kFonts); }},
      {"--version",
       nullptr,
       OptionUse::kAlone,
       4,
       {"print the version and exit"},
       [](CmdLine& cmd, const char*) {
         cmd.action = CmdAction::kVersion;
         return true;
       }},
      {"--help",
       nullptr,
       OptionUse::kAlone,
       4,
       {"print this text and exit"},
       [](CmdLine& cmd, const char*) {
         cmd.action = CmdAction::kHelp;
         return true;
       }},
  };
  return table;
}

const OptionEntry* find_option(std::string_view name) {
  for (const OptionEntry& entry : option_table()) {
    if (name == entry.name) return &entry;
  }
  return nullptr;
}

CmdLine bad(CmdLine cmd, std::string message) {
  cmd.action = CmdAction::kBadOptions;
  if (!message.empty()) cmd.error = std::move(message);
  return cmd;
}

// The one-argument command line, as it has always been read.
CmdLine parse_single(std::string_view arg) {
  CmdLine cmd;
  if (arg.empty()) return cmd;
  const OptionEntry* entry = find_option(arg);
  if (entry && entry->use == OptionUse::kAlone) {
    entry->apply(cmd, nullptr);
  } else {
    cmd.action = CmdAction::kRun;
    cmd.config = arg;
  }
  return cmd;
}

// One line of the synopsis: its options as the table describes them.
std::string synopsis_line(int line) {
  std::string items;
  bool takes_config = true;
  for (const OptionEntry& entry : option_table()) {
    if (entry.synopsis_line != line) continue;
    const bool alternatives = entry.use == OptionUse::kChoice || entry.use == OptionUse::kAlone;
    if (!items.empty()) items += alternatives ? " | " : " ";
    if (alternatives) {
      items += entry.name;
    } else {
      items += "[" + std::string(entry.name) + (entry.value ? " " + std::string(entry.value) : "") +
               "]" + (entry.use == OptionUse::kRepeatable ? "..." : "");
    }
    if (entry.use == OptionUse::kAlone) takes_config = false;
  }
  if (items.empty()) return items;
  return "   TRALK " + items + (takes_config ? " config_file.vfg" : "") + "\n";
}

std::string options_text() {
  std::string text = "\n Options, before the configuration file:\n";
  int last_line = 0;
  for (const OptionEntry& entry : option_table())
    last_line = std::max(last_line, entry.synopsis_line);
  for (int line = 1; line <= last_line; ++line) text += synopsis_line(line);
  for (const OptionEntry& entry : option_table()) {
    std::string head(kHelpIndent, ' ');
    head += entry.name;
    if (entry.value) head += std::string(" ") + entry.value;
    append_option_help(text, std::move(head), entry.help, kHelpColumn);
  }
  return text;
}

std::optional<std::string> resolve_named(const std::string& name) {
  std::optional<std::string> full = path_full(name);
  if (!full) con_printf("\nERROR: Illegal file name format: \"%s\"", name.c_str());
  return full;
}

}  // namespace

std::span<const OptionEntry> tralk_options() {
  return option_table();
}

CmdLine parse_cmdline(int argc, const char* const* argv) {
  if (argc < 2) return CmdLine{};
  if (argc == 2) return parse_single(argv[1]);
  CmdLine cmd;
  std::vector<const OptionEntry*> seen;
  int i = 1;
  for (; i < argc && std::string_view(argv[i]).substr(0, 2) == "--"; ++i) {
    const std::string_view option = argv[i];
    const OptionEntry* entry = find_option(option);
    if (!entry) return bad(cmd, "\n Unknown option: " + quoted(option));
    if (entry->use == OptionUse::kAlone)
      return bad(cmd, "\n Option " + quoted(option) + " must be the only argument");
    if (entry->use != OptionUse::kRepeatable &&
        std::find(seen.begin(), seen.end(), entry) != seen.end())
      return bad(cmd, "\n Option " + quoted(option) + " given twice");
    seen.push_back(entry);
    const char* value = nullptr;
    if (entry->value) {
      if (i + 1 == argc) return bad(cmd, "\n Option " + quoted(option) + " needs a value");
      value = argv[++i];
    }
    if (!entry->apply(cmd, value)) return bad(cmd, "");
  }
  if (i == argc) return bad(cmd, "\n No configuration file after the options");
  if (i + 1 < argc) {
    return bad(cmd, "\n Unexpected argument after the configuration file: " + quoted(argv[i + 1]));
  }
  cmd.action = CmdAction::kRun;
  cmd.config = argv[i];
  return cmd;
}

void print_version() {
  con_printf("tralk %s\n", TRALK_VERSION);
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
