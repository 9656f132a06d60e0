// XML catalogues (Qt Linguist, XLIFF) read through expat: their elements
// and text as events, with namespaces resolved, and expat's own account of
// broken XML.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/outcome.h"

namespace tralk::text {

// An element's or attribute's name: its namespace (empty for none) and its
// local name.
struct XmlName {
  std::string_view ns;
  std::string_view local;
};

// An element's attributes, as expat gives them.
class XmlAttributes {
 public:
  explicit XmlAttributes(const char** pairs) : pairs_(pairs) {}
  // The value of the attribute of no namespace named local, or of the
  // namespace ns; none when the element has none.
  std::optional<std::string_view> get(std::string_view local, std::string_view ns = {}) const;

 private:
  const char** pairs_;
};

// What a reader does with the events. A failure (its text without a place)
// stops the reading; parse_xml puts the file and line in front of it.
class XmlHandler {
 public:
  virtual ~XmlHandler() = default;
  virtual Status start(XmlName name, const XmlAttributes& attributes, uint32_t line) = 0;
  virtual Status end(XmlName name) = 0;
  virtual void text(std::string_view utf8) = 0;
};

// Reads the XML document of the file named file, whatever its declared
// encoding (expat gives UTF-8), into handler. A failure naming the file and
// line: "line 3 of "de.ts": broken XML: mismatched tag", or the handler's.
Status parse_xml(const std::string& file, std::string_view bytes, XmlHandler& handler);

// The local name of the document's first element; none when the bytes are
// not XML up to it.
std::optional<std::string> xml_root_name(std::string_view bytes);

}  // namespace tralk::text
