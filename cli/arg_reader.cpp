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

Outcome<std::string> ArgReader::value(std::string_view name) {
  if (!more()) return usage_error("option " + std::string(name) + " needs a value");
  return std::string(take());
}

Status ArgReader::value_into(std::string_view name, std::string& to) {
  Outcome<std::string> text = value(name);
  if (!text.ok()) return text.failure();
  to = std::move(text.value());
  return {};
}

Outcome<uint32_t> ArgReader::number(std::string_view name) {
  const Outcome<std::string> text = value(name);
  if (!text.ok()) return text.failure();
  if (const std::optional<uint32_t> n = parse_number(text.value())) return *n;
  return usage_error("option " + std::string(name) + " needs a number, not " +
                     in_quotes(text.value()));
}

Outcome<uint32_t> ArgReader::number(std::string_view name, uint32_t low, uint32_t high) {
  const Outcome<std::string> text = value(name);
  if (!text.ok()) return text.failure();
  const std::optional<uint32_t> n = parse_number(text.value());
  if (n && *n >= low && *n <= high) return *n;
  return usage_error("option " + std::string(name) + " needs a number from " + std::to_string(low) +
                     " to " + std::to_string(high) + ", not " + in_quotes(text.value()));
}

}  // namespace tralk::cli
