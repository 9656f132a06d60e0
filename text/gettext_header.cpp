#include "text/gettext_header.h"

#include "base/text.h"

namespace tralk::text {

std::optional<std::string> foreign_charset(std::string_view header) {
  const size_t at = header.find("charset=");
  if (at == std::string_view::npos) return std::nullopt;
  std::string_view value = header.substr(at + 8);
  value = value.substr(0, value.find_first_of(" \t\r\n;"));
  const std::string lower = ascii_lower(value);
  if (lower.empty() || lower == "utf-8" || lower == "utf8" || lower == "charset" ||
      lower == "ascii" || lower == "us-ascii")
    return std::nullopt;
  return std::string(value);
}

std::string foreign_charset_words(const std::string& charset) {
  return "the catalogue is in " + charset + ", not UTF-8 (msgconv -t UTF-8 converts it)";
}

}  // namespace tralk::text
