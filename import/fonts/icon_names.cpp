#include "import/fonts/icon_names.h"

#include <algorithm>

#include "base/fileio.h"
#include "base/text.h"
#include "cli/arg_reader.h"
#include "import/fonts/code_ranges.h"

namespace tralk::importer {

namespace {

bool is_blank(char c) {
  return c == ' ' || c == '\t';
}

bool is_control(char c) {
  return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
}

// A code as codepoints files write it, hexadecimal with or without 0x or
// U+; none for anything else or above 0x10FFFF.
std::optional<uint32_t> parse_hex_code(std::string_view text) {
  if (text.size() > 2 && (text.starts_with("0x") || text.starts_with("0X") ||
                          text.starts_with("U+") || text.starts_with("u+")))
    text.remove_prefix(2);
  if (text.empty() || text.size() > 8) return std::nullopt;
  uint32_t code = 0;
  for (const char c : text) {
    const unsigned d = digit_value(c);
    if (d >= 16) return std::nullopt;
    code = code << 4 | d;
  }
  if (code > kMaxCharCode) return std::nullopt;
  return code;
}

// The fields of a line, split at blanks and tabs.
std::vector<std::string_view> fields(std::string_view line) {
  std::vector<std::string_view> out;
  size_t at = 0;
  while (at < line.size()) {
    while (at < line.size() && is_blank(line[at])) ++at;
    const size_t start = at;
    while (at < line.size() && !is_blank(line[at])) ++at;
    if (at > start) out.push_back(line.substr(start, at - start));
  }
  return out;
}

Outcome<IconName> parse_line(std::string_view line, const std::string& where) {
  const std::vector<std::string_view> words = fields(line);
  if (words.size() > 2 ||
      std::any_of(line.begin(), line.end(), [](char c) { return is_control(c) && c != '\t'; }))
    return Failure{Fault::format, where + ": " + in_quotes(line) + " is not a name and a code"};
  IconName icon{std::string(words[0]), std::nullopt, where};
  if (words.size() == 1) return icon;
  const std::optional<uint32_t> code = parse_hex_code(words[1]);
  const std::string of = " of " + in_quotes(icon.name);
  if (!code)
    return Failure{Fault::format,
                   where + ": the code" + of + ", " + in_quotes(words[1]) + ", is not hexadecimal"};
  if (*code > kMaxCpCode)
    return Failure{Fault::format, where + ": the code" + of + ", " + u_plus(*code) +
                                      ", is above 0xFFFF, the largest codepage code"};
  if (*code >= 0xD800 && *code <= 0xDFFF)
    return Failure{Fault::format, where + ": the code" + of + ", " + hex4(*code) +
                                      ", is a surrogate, which UTF-8 text cannot hold"};
  icon.code = static_cast<uint16_t>(*code);
  return icon;
}

}  // namespace

Outcome<std::vector<IconName>> parse_names_list(std::string_view text) {
  const std::string_view whole = text;
  std::vector<IconName> names;
  for (;;) {
    const size_t comma = text.find(',');
    const std::string_view name = text.substr(0, comma);
    if (name.empty() ||
        std::any_of(name.begin(), name.end(), [](char c) { return is_control(c) || is_blank(c); }))
      return cli::usage_error(
          "--names takes glyph names separated by commas, without blanks, not " + in_quotes(whole));
    names.push_back({std::string(name), std::nullopt, ""});
    if (comma == std::string_view::npos) return names;
    text.remove_prefix(comma + 1);
  }
}

Outcome<std::vector<IconName>> parse_names_file(std::string_view text, const std::string& path) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  std::vector<IconName> names;
  for (size_t line_number = 1; !text.empty(); ++line_number) {
    const size_t end = text.find_first_of("\r\n");
    const std::string_view line = text.substr(0, end);
    const size_t first = line.find_first_not_of(" \t");
    if (first != std::string_view::npos && line[first] != '#') {
      Outcome<IconName> icon = parse_line(
          line, "names file " + in_quotes(path) + ": line " + std::to_string(line_number));
      if (!icon.ok()) return icon.failure();
      names.push_back(std::move(icon.value()));
    }
    if (end == std::string_view::npos) break;
    // CR LF is one line end.
    text.remove_prefix(text.compare(end, 2, "\r\n") == 0 ? end + 2 : end + 1);
  }
  return names;
}

Outcome<std::vector<IconName>> read_names_file(const std::string& path) {
  const Outcome<FileBytes> file = read_whole_file(path);
  if (!file.ok())
    return Failure{file.code(), "cannot read names file " + in_quotes(path) + ": " + file.error()};
  return parse_names_file(std::string_view(reinterpret_cast<const char*>(file->data()), file->size),
                          path);
}

}  // namespace tralk::importer
