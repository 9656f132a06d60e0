// A catalogue read: its format recognised by its extension, and by its
// content where the extension says nothing or too little; then its reader.
#include "text/catalogue.h"

#include <filesystem>

#include "base/fileio.h"
#include "base/text.h"
#include "text/readers.h"
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

const char* format_name(CatalogueFormat format) {
  switch (format) {
    case CatalogueFormat::plain:
      return "plain text";
    case CatalogueFormat::po:
      return "gettext PO";
    case CatalogueFormat::mo:
      return "gettext MO";
    case CatalogueFormat::ts:
      return "Qt Linguist";
    case CatalogueFormat::xliff:
      return "XLIFF";
    case CatalogueFormat::json:
      return "JSON";
    case CatalogueFormat::arb:
      return "ARB";
  }
  return "?";
}

Outcome<Catalogue> parse_catalogue(const std::string& name, std::string_view bytes) {
  const CatalogueFormat format = recognise_format(name, bytes);
  switch (format) {
    case CatalogueFormat::plain:
      return read_plain_text(name, bytes);
    case CatalogueFormat::po:
      return read_po(name, bytes);
    case CatalogueFormat::mo:
      return read_mo(name, bytes);
    case CatalogueFormat::ts:
      return read_ts(name, bytes);
    case CatalogueFormat::xliff:
      return read_xliff(name, bytes);
    case CatalogueFormat::json:
    case CatalogueFormat::arb:
      return read_json(name, bytes, format);
  }
  return read_plain_text(name, bytes);
}

Outcome<Catalogue> read_catalogue(const std::string& path) {
  const Outcome<FileBytes> file = read_whole_file(path);
  if (!file.ok())
    return Failure{file.failure().code,
                   "cannot read " + in_quotes(path) + ": " + file.failure().text};
  return parse_catalogue(path,
                         std::string_view(reinterpret_cast<const char*>(file->data()), file->size));
}

std::string place_of(const std::string& file, const DisplayString& s) {
  if (s.line) return "line " + std::to_string(s.line) + " of " + in_quotes(file);
  if (s.offset) return "byte " + std::to_string(s.offset) + " of " + in_quotes(file);
  return in_quotes(file);
}

}  // namespace tralk::text
