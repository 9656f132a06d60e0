#include "import/fonts/code_ranges.h"

#include <charconv>
#include <cstdio>

namespace {

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool starts_with_either(std::string_view s, std::string_view a, std::string_view b) {
  return s.substr(0, a.size()) == a || s.substr(0, b.size()) == b;
}

std::string hex(uint32_t code) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%X", code);
  return buf;
}

// One item: CODE or FIRST-LAST, optionally =>TO.
bool parse_item(std::string_view item, CodeRange& range, std::string& error) {
  const std::string quoted = "\"" + std::string(item) + "\"";
  std::string_view run = item;
  std::string_view target;
  const size_t arrow = item.find("=>");
  if (arrow != std::string_view::npos) {
    run = trim(item.substr(0, arrow));
    target = trim(item.substr(arrow + 2));
  }
  // The hyphen that separates two codes; none inside a code ("U+" has none).
  const size_t dash = run.find('-');
  const std::string_view first = trim(run.substr(0, dash));
  const std::string_view last = dash == std::string_view::npos ? first : trim(run.substr(dash + 1));
  if (!parse_code(first, range.first) || !parse_code(last, range.last) ||
      (arrow != std::string_view::npos && !parse_code(target, range.to))) {
    error = "malformed range " + quoted + ": write codes as 0x41, U+0041 or 65, runs as " +
            "FIRST-LAST, remapped runs as FIRST-LAST=>TO";
    return false;
  }
  if (range.first > range.last) {
    error = "range " + quoted + " runs backwards";
    return false;
  }
  if (arrow == std::string_view::npos) {
    if (range.last > kMaxCpCode) {
      error = "range " + quoted + " reaches above 0xFFFF, the largest codepage code: remap it, " +
              "as in " + hex(range.first) + "-" + hex(range.last) + "=>0xE000";
      return false;
    }
    range.to = range.first;
  } else if (uint64_t{range.to} + (range.last - range.first) > kMaxCpCode) {
    error = "range " + quoted + " is remapped past 0xFFFF, the largest codepage code";
    return false;
  }
  return true;
}

}  // namespace

bool parse_code(std::string_view text, uint32_t& code) {
  int base = 10;
  if (starts_with_either(text, "0x", "0X") || starts_with_either(text, "U+", "u+")) {
    text.remove_prefix(2);
    base = 16;
  }
  if (text.empty() || text.front() == '+' || text.front() == '-') return false;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, code, base);
  return ec == std::errc() && ptr == end && code <= kMaxCharCode;
}

bool parse_ranges(std::string_view text, std::vector<CodeRange>& out, std::string& error) {
  for (;;) {
    const size_t comma = text.find(',');
    CodeRange range;
    if (!parse_item(trim(text.substr(0, comma)), range, error)) return false;
    out.push_back(range);
    if (comma == std::string_view::npos) return true;
    text.remove_prefix(comma + 1);
  }
}

std::string format_code_run(uint32_t first, uint32_t last) {
  return first == last ? hex(first) : hex(first) + "-" + hex(last);
}
