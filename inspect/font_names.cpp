#include "inspect/font_names.h"

#include <cstdlib>
#include <filesystem>

#include "base/text.h"

namespace tralk::inspector {

namespace {

constexpr std::string_view kMarker = "GFONTV FCODE";

// The fields of a structure's initialiser { a, b, ... }, comments left out,
// each trimmed.
std::vector<std::string> fields(std::string_view body) {
  std::string text;
  for (size_t i = 0; i < body.size(); ++i) {
    if (body.substr(i, 2) == "/*") {
      const size_t end = body.find("*/", i + 2);
      if (end == std::string_view::npos) break;
      i = end + 1;
    } else {
      text += body[i];
    }
  }
  std::vector<std::string> out;
  size_t start = 0;
  for (size_t comma; (comma = text.find(',', start)) != std::string::npos; start = comma + 1)
    out.push_back(text.substr(start, comma - start));
  out.push_back(text.substr(start));
  for (std::string& f : out) {
    f.erase(0, f.find_first_not_of(" \t\r\n"));
    f.erase(f.find_last_not_of(" \t\r\n") + 1);
  }
  return out;
}

bool is_number(const std::string& s, unsigned long long want) {
  if (s.empty() || s.find_first_not_of("0123456789") != std::string::npos) return false;
  return std::strtoull(s.c_str(), nullptr, 10) == want;
}

// The structure's fields match its font block: numbits, widths, height,
// number of symbols and symbol offset (fields 2, 4, 5, 8 and 12).
bool matches(const std::vector<std::string>& f, const FontRecord& font) {
  return f.size() >= 13 && is_number(f[2], font.numbits) && is_number(f[4], font.symwidth) &&
         is_number(f[5], font.symheight) && is_number(f[8], font.numsym) &&
         is_number(f[12], font.symindex);
}

}  // namespace

std::string source_beside(const std::string& image_path) {
  return std::filesystem::path(image_path).replace_extension(".c").string();
}

std::optional<std::vector<std::string>> font_names(const std::string& source,
                                                   const InspectResult& result) {
  std::vector<std::string> names;
  for (size_t at = 0; (at = source.find(kMarker, at)) != std::string::npos;) {
    at += kMarker.size();
    const size_t eq = source.find('=', at);
    const size_t open = source.find('{', at);
    const size_t close = source.find('}', at);
    if (eq == std::string::npos || open == std::string::npos || close == std::string::npos ||
        eq > open || open > close)
      return std::nullopt;
    std::string name = source.substr(at, eq - at);
    name.erase(0, name.find_first_not_of(" \t\r\n"));
    name.erase(name.find_last_not_of(" \t\r\n") + 1);
    const size_t n = names.size();
    if (name.empty() || n >= result.fonts.size() ||
        !matches(fields(std::string_view(source).substr(open + 1, close - open - 1)),
                 result.fonts[n]))
      return std::nullopt;
    names.push_back(name);
    at = close;
  }
  if (names.size() != result.fonts.size() || names.empty()) return std::nullopt;
  return names;
}

Outcome<uint32_t> find_font(const std::string& name, const std::string& image_path,
                            const std::optional<std::vector<std::string>>& names) {
  const std::string source = in_quotes(source_beside(image_path));
  if (!names)
    return Failure{Fault::not_found, "font names need " + source +
                                         ", the C source tralk wrote with the image, beside it"};
  for (size_t n = 0; n < names->size(); ++n)
    if ((*names)[n] == name) return static_cast<uint32_t>(n);
  return Failure{Fault::not_found, "there is no font named " + in_quotes(name) + " in " + source};
}

Failure no_font_block(uint32_t n, size_t count) {
  return Failure{Fault::not_found, "there is no font block " + std::to_string(n) +
                                       "; the image has " + std::to_string(count) +
                                       " (numbered from 0)"};
}

}  // namespace tralk::inspector
