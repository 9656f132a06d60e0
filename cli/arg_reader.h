// Reading the command lines of the companion programs (tralk-inspect and
// tralk-import's subcommands): arguments one by one, option values, and
// numbers, each failure a usage fault with the one-line reason that the
// program prints.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "base/outcome.h"

namespace tralk::cli {

// A bad command line, and why.
inline Failure usage_error(std::string text) {
  return Failure{Fault::usage, std::move(text)};
}

// A whole decimal number; none for anything else.
std::optional<uint32_t> parse_number(std::string_view text);

// True when s ends with tail, A to Z taken as a to z.
bool ends_with_ignoring_case(std::string_view s, std::string_view tail);

class ArgReader {
 public:
  ArgReader(int argc, const char* const* argv) : argc_(argc), argv_(argv) {}
  bool more() const { return next_ < argc_; }
  std::string_view take() { return argv_[next_++]; }
  // The value after option name.
  Outcome<std::string> value(std::string_view name);
  // The value after option name, stored in to.
  Status value_into(std::string_view name, std::string& to);
  // A number after option name.
  Outcome<uint32_t> number(std::string_view name);
  // A number from low to high after option name.
  Outcome<uint32_t> number(std::string_view name, uint32_t low, uint32_t high);

 private:
  int argc_;
  const char* const* argv_;
  int next_ = 0;
};

// Reads a whole command line: each option (an argument that starts with "-"
// and is more than that, up to an argument "--") through
// on_option(option, args), which takes the option's values from args, and
// each other argument through on_operand(argument). Both return a Status;
// the first failure ends the reading and is returned.
template <class OnOption, class OnOperand>
Status read_command_line(ArgReader& args, OnOption on_option, OnOperand on_operand) {
  bool options_end = false;
  while (args.more()) {
    const std::string_view arg = args.take();
    if (!options_end && arg == "--") {
      options_end = true;
    } else if (!options_end && arg.size() > 1 && arg[0] == '-') {
      if (Status read = on_option(arg, args); !read.ok()) return read;
    } else if (Status read = on_operand(arg); !read.ok()) {
      return read;
    }
  }
  return {};
}

}  // namespace tralk::cli
