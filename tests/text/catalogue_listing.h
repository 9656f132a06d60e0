// A catalogue's strings as text the tests compare exactly: one a line, its
// place (line, or @byte for .mo), its key in brackets, its text (line breaks
// and tabs as \n and \t), and its width limit.
#pragma once

#include <string>

#include "text/catalogue.h"

namespace tralk::text {

inline std::string shown(const std::string& s) {
  std::string out;
  for (const char c : s) {
    if (c == '\n')
      out += "\\n";
    else if (c == '\t')
      out += "\\t";
    else
      out += c;
  }
  return out;
}

inline std::string listing(const Catalogue& cat) {
  std::string out;
  for (const DisplayString& s : cat.strings) {
    out += s.line ? std::to_string(s.line) : "@" + std::to_string(s.offset);
    out += " [" + shown(s.key) + "] " + shown(s.text);
    if (s.max_width)
      out += " (max " + std::to_string(s.max_width->value) +
             (s.max_width->unit == WidthUnit::pixel ? " px)" : " chars)");
    out += "\n";
  }
  return out;
}

// The listing of the catalogue read from bytes, or its error.
inline std::string listing_of(const std::string& name, std::string_view bytes) {
  const Outcome<Catalogue> cat = parse_catalogue(name, bytes);
  return cat.ok() ? listing(cat.value()) : "error: " + cat.error();
}

}  // namespace tralk::text
