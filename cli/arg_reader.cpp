#include "cli/arg_reader.h"

#include <charconv>

#include "base/text.h"

namespace tralk::cli {

std::optional<uint32_t> parse_number(std::string_view text) {
  uint32_t value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

bool ends_with_ignoring_case(std::string_view s, std::string_view tail) {
  return s.size() >= tail.size() && ascii_iequal(s.substr(s.size() - tail.size()), tail);
}

}  // namespace tralk::cli
