// Reading the command lines of tralk-import's subcommands: arguments one by
// one, option values, and numbers within limits, each failure with the
// one-line reason that the subcommand prints.
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
  // A number from low to high after option name.
  bool number(std::string_view name, uint32_t low, uint32_t high, uint32_t& out,
              std::string& error);

 private:
  int argc_;
  const char* const* argv_;
  int next_ = 0;
};
