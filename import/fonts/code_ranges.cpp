#include "import/fonts/code_ranges.h"

#include <charconv>

#include "base/text.h"
#include "cli/arg_reader.h"

namespace tralk::importer {

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
  return "0x" + hex_upper(code, 1);
}

// One item: CODE or FIRST-LAST, optionally =>TO.
Outcome<CodeRange> parse_item(std::string_view item) {
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
  const std::optional<uint32_t> from = parse_code(first), to = parse_code(last);
  const std::optional<uint32_t> remap = arrow == std::string_view::npos ? from : parse_code(target);
  if (!from || !to || !remap)
    return cli::usage_error(
        "malformed range " + in_quotes(item) +
        ": write codes as 0x41, U+0041 or 65, runs as FIRST-LAST, remapped runs as " +
        "FIRST-LAST=>TO");
  const CodeRange range{*from, *to, *remap};
  if (range.first > range.last)
    return cli::usage_error("range " + in_quotes(item) + " runs backwards");
  if (arrow == std::string_view::npos && range.last > kMaxCpCode)
    return cli::usage_error("range " + in_quotes(item) +
                            " reaches above 0xFFFF, the largest codepage code: remap it, as in " +
                            hex(range.first) + "-" + hex(range.last) + "=>0xE000");
  if (uint64_t{range.to} + (range.last - range.first) > kMaxCpCode)
    return cli::usage_error("range " + in_quotes(item) +
                            " is remapped past 0xFFFF, the largest codepage code");
  return range;
}

}  // namespace

std::optional<uint32_t> parse_code(std::string_view text) {
  int base = 10;
  if (starts_with_either(text, "0x", "0X") || starts_with_either(text, "U+", "u+")) {
    text.remove_prefix(2);
    base = 16;
  }
  if (text.empty() || text.front() == '+' || text.front() == '-') return std::nullopt;
  uint32_t code = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, code, base);
  if (ec != std::errc() || ptr != end || code > kMaxCharCode) return std::nullopt;
  return code;
}

Outcome<std::vector<CodeRange>> parse_ranges(std::string_view text) {
  std::vector<CodeRange> ranges;
  for (;;) {
    const size_t comma = text.find(',');
    const Outcome<CodeRange> range = parse_item(trim(text.substr(0, comma)));
    if (!range.ok()) return range.failure();
    ranges.push_back(range.value());
    if (comma == std::string_view::npos) return ranges;
    text.remove_prefix(comma + 1);
  }
}

std::string format_code_run(uint32_t first, uint32_t last) {
  return first == last ? hex(first) : hex(first) + "-" + hex(last);
}

std::string hex4(uint32_t code) {
  if (code > 0xFFFF) return "0x" + hex_upper(code, 4);
  // Made in place: a large font's notes name every one of its codes.
  std::string out = "0x0000";
  for (size_t i = out.size(); i-- > 2; code >>= 4) out[i] = hex_digit_upper(code);
  return out;
}

std::string u_plus(char32_t c) {
  return "U+" + hex_upper(c, 4);
}

}  // namespace tralk::importer
