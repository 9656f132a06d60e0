// Reading the command lines of the companion programs (tralk-inspect and
// tralk-import's subcommands): arguments one by one, option values, and
// numbers, each failure with the one-line reason that the program prints.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// A whole decimal number.
bool parse_number(std::string_view text, uint32_t& value);

// True when s ends with tail (lower case), A to Z in s taken as a to z.
bool ends_with_ignoring_case(std::string_view s, std::string_view tail);

class ArgReader {
 public:
  ArgReader(int argc, const char* const* argv) : argc_(argc), argv_(argv) {}
  bool more() const { return next_ < argc_; }
  std::string_view take() { return argv_[next_++]; }
  // The value after option name.
  bool value(std::string_view name, std::string& out, std::string& error);
  // A number after option name.
  bool number(std::string_view name, uint32_t& out, std::string& error);
  // A number from low to high after option name.
  bool number(std::string_view name, uint32_t low, uint32_t high, uint32_t& out,
              std::string& error);

 private:
  int argc_;
  const char* const* argv_;
  int next_ = 0;
};

// Reads a whole command line: each option (an argument that starts with "-"
// and is more than that, up to an argument "--") through
// on_option(option, args), which takes the option's values from args, and
// each other argument through on_operand(argument). False at the first call
// that returns false.
template <class OnOption, class OnOperand>
bool read_command_line(ArgReader& args, OnOption on_option, OnOperand on_operand) {
  bool options_end = false;
  while (args.more()) {
    const std::string_view arg = args.take();
    if (!options_end && arg == "--") {
      options_end = true;
    } else if (!options_end && arg.size() > 1 && arg[0] == '-') {
      if (!on_option(arg, args)) return false;
    } else if (!on_operand(arg)) {
      return false;
    }
  }
  return true;
}
