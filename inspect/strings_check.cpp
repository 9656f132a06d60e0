#include "inspect/strings_check.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "base/text.h"
#include "cli/utf8.h"
#include "inspect/png_sheet.h"
#include "inspect/text_picture.h"

namespace tralk::inspector {

namespace {

struct Line {
  size_t number = 0;  // in the file, from 1
  std::vector<char32_t> chars;
};

Outcome<std::vector<Line>> read_lines(const std::string& file_name, std::string text) {
  if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);
  std::vector<Line> lines;
  size_t number = 0;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    start = end + 1;
    ++number;
    if (line.empty()) continue;
    std::optional<std::vector<char32_t>> chars = cli::utf8_decode(line);
    if (!chars)
      return Failure{Fault::format, "line " + std::to_string(number) + " of " +
                                        in_quotes(file_name) + " is not UTF-8 text"};
    lines.push_back({number, std::move(*chars)});
  }
  return lines;
}

std::string font_label(size_t n, const std::vector<std::string>* names) {
  return "font block " + std::to_string(n) + (names ? " (" + names->at(n) + ")" : "");
}

std::string char_text(char32_t c) {
  std::string s = "U+" + hex_upper(c, 4);
  if (c >= 0x20 && c != 0x7F) s += " " + in_quotes(cli::utf8_encode(c));
  return s;
}

// The missing characters of one font, each with the first line it is in.
std::string missing_list(const FontRecord& font, const std::vector<Line>& lines, size_t& count) {
  std::map<char32_t, size_t> first_line;
  for (const Line& l : lines)
    for (const char32_t c : l.chars)
      if (!codepage_symbol(font, c)) first_line.emplace(c, l.number);
  count = first_line.size();
  std::string out;
  for (const auto& [c, line] : first_line)
    out += "    " + char_text(c) + " (line " + std::to_string(line) + ")\n";
  return out;
}

// The pictures stacked, each at the left, on the sheet background.
RgbPicture stack(const std::vector<RgbPicture>& parts) {
  RgbPicture out;
  uint32_t width = 0, height = 0;
  for (const RgbPicture& p : parts) {
    width = std::max(width, p.width);
    height += p.height;
  }
  out.resize(width, height);
  out.fill(kSheetBackground);
  uint32_t top = 0;
  for (const RgbPicture& p : parts) {
    for (uint32_t y = 0; y < p.height; ++y)
      std::memcpy(out.row(top + y), p.row(y), size_t{p.width} * 3);
    top += p.height;
  }
  return out;
}

}  // namespace

Outcome<StringsCheck> check_strings(const InspectResult& result,
                                    const std::vector<std::string>* names,
                                    std::optional<size_t> only, const std::string& file_name,
                                    const std::string& file_text, uint32_t scale,
                                    const ReadingOptions& opts) {
  const Outcome<std::vector<Line>> lines = read_lines(file_name, file_text);
  if (!lines.ok()) return lines.failure();
  std::vector<uint32_t> codes;
  size_t characters = 0;
  for (const Line& l : lines.value()) {
    if (!codes.empty()) codes.push_back('\n');
    codes.insert(codes.end(), l.chars.begin(), l.chars.end());
    characters += l.chars.size();
  }
  StringsCheck check;
  check.report = "\nStrings " + in_quotes(file_name) + ": " + std::to_string(lines->size()) +
                 (lines->size() == 1 ? " line, " : " lines, ") + std::to_string(characters) +
                 (characters == 1 ? " character\n" : " characters\n");
  std::vector<RgbPicture> pictures;
  for (size_t n = 0; n < result.fonts.size(); ++n) {
    const FontRecord& font = result.fonts[n];
    if ((only && n != *only) || (!only && !font.has_codepage)) continue;
    if (!font.has_codepage)
      return Failure{Fault::unsupported, "font block " + std::to_string(n) +
                                             " has no codepage to find the strings' characters in"};
    size_t count = 0;
    const std::string list = missing_list(font, lines.value(), count);
    check.missing = check.missing || count > 0;
    check.report += "  " + font_label(n, names) + ": " +
                    (count == 0 ? "every character\n"
                                : std::to_string(count) +
                                      (count == 1 ? " character falls" : " characters fall") +
                                      " to the default character:\n" + list);
    Outcome<TextPicture> drawn = draw_text(font, text_symbols(font, codes), scale, opts, true);
    if (!drawn.ok()) return drawn.failure();
    pictures.push_back(std::move(drawn->picture));
  }
  if (pictures.empty())
    return Failure{Fault::unsupported, "the image has no font with a codepage to draw strings in"};
  check.picture = stack(pictures);
  return check;
}

}  // namespace tralk::inspector
