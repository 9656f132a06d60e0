// Which format a file is in: by its extension, and by its content where the
// extension says nothing or too little.
#include <filesystem>

#include "base/text.h"
#include "text/catalogue.h"
#include "text/xml_reader.h"

namespace tralk::text {

namespace {

std::string_view without_bom(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  return bytes;
}

bool has_mo_magic(std::string_view bytes) {
  return bytes.starts_with("\xDE\x12\x04\x95") || bytes.starts_with("\x95\x04\x12\xDE");
}

bool starts_like_xml(std::string_view bytes) {
  bytes = without_bom(bytes);
  const size_t first = bytes.find_first_not_of(" \t\r\n");
  // UTF-16 XML starts with "<" and a NUL byte, in either order.
  return first != std::string_view::npos &&
         (bytes[first] == '<' || bytes.substr(first, 2) == std::string_view("\0<", 2));
}

// A .po file: its first line that is neither blank nor a comment is a
// msgid or msgctxt keyword and its string.
bool starts_like_po(std::string_view bytes) {
  bytes = without_bom(bytes);
  while (!bytes.empty()) {
    const size_t end = bytes.find('\n');
    std::string_view line = bytes.substr(0, end);
    bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
    const size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string_view::npos || line[first] == '#') continue;
    line.remove_prefix(first);
    for (const std::string_view keyword : {"msgid", "msgctxt"}) {
      if (!line.starts_with(keyword)) continue;
      const size_t quote = line.find_first_not_of(" \t", keyword.size());
      return quote > keyword.size() && quote != std::string_view::npos && line[quote] == '"';
    }
    return false;
  }
  return false;
}

std::optional<CatalogueFormat> by_xml_root(std::string_view bytes) {
  if (!starts_like_xml(bytes)) return std::nullopt;
  const std::optional<std::string> root = xml_root_name(bytes);
  if (root == "TS") return CatalogueFormat::ts;
  if (root == "xliff") return CatalogueFormat::xliff;
  return std::nullopt;
}

}  // namespace

CatalogueFormat recognise_format(std::string_view name, std::string_view bytes) {
  const std::string ext =
      ascii_lower(std::filesystem::path(std::string(name)).extension().string());
  if (ext == ".txt") return CatalogueFormat::plain;
  if (ext == ".po" || ext == ".pot") return CatalogueFormat::po;
  if (ext == ".mo" || ext == ".gmo") return CatalogueFormat::mo;
  if (ext == ".xlf" || ext == ".xliff") return CatalogueFormat::xliff;
  if (ext == ".json") return CatalogueFormat::json;
  if (ext == ".arb") return CatalogueFormat::arb;
  // .ts is Qt Linguist's, and TypeScript's.
  if (ext == ".ts") return starts_like_xml(bytes) ? CatalogueFormat::ts : CatalogueFormat::plain;
  if (has_mo_magic(bytes)) return CatalogueFormat::mo;
  if (const std::optional<CatalogueFormat> xml = by_xml_root(bytes)) return *xml;
  if (starts_like_po(bytes)) return CatalogueFormat::po;
  return CatalogueFormat::plain;
}

}  // namespace tralk::text
