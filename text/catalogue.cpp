#include "text/catalogue.h"

#include "base/fileio.h"
#include "base/text.h"
#include "text/readers.h"

namespace tralk::text {

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
