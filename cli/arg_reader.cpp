#include "cli/arg_reader.h"

#include <charconv>

bool parse_number(std::string_view text, uint32_t& value) {
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return !text.empty() && ec == std::errc() && ptr == end;
}

bool ends_with_ignoring_case(std::string_view s, std::string_view tail) {
  if (s.size() < tail.size()) return false;
  for (size_t i = 0; i < tail.size(); ++i) {
    char c = s[s.size() - tail.size() + i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != tail[i]) return false;
  }
  return true;
}

bool ArgReader::value(std::string_view name, std::string& out, std::string& error) {
  if (!more()) {
    error = "option " + std::string(name) + " needs a value";
    return false;
  }
  out = take();
  return true;
}

bool ArgReader::number(std::string_view name, uint32_t& out, std::string& error) {
  std::string text;
  if (!value(name, text, error)) return false;
  if (parse_number(text, out)) return true;
  error = "option " + std::string(name) + " needs a number, not \"" + text + "\"";
  return false;
}

bool ArgReader::number(std::string_view name, uint32_t low, uint32_t high, uint32_t& out,
                       std::string& error) {
  std::string text;
  if (!value(name, text, error)) return false;
  if (parse_number(text, out) && out >= low && out <= high) return true;
  error = "option " + std::string(name) + " needs a number from " + std::to_string(low) + " to " +
          std::to_string(high) + ", not \"" + text + "\"";
  return false;
}
