// The small readers of the companions' command lines (the option table,
// cli/option_table.h, reads the arguments): a bad command line as a usage
// fault with its reason, whole numbers, and file names by their ending.
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

}  // namespace tralk::cli
