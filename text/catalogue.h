// The strings an application shows, read from the files that hold them: its
// translation catalogues, or a plain text file of one string a line. What
// selects a font's glyphs (tralk-import's --symbols-file) and what the
// inspector checks against an image (--strings) are these strings, never a
// file's keywords, keys or comments.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/outcome.h"

namespace tralk::text {

enum class WidthUnit : uint8_t { pixel, character };

// A limit that the catalogue itself sets on one string's width.
struct WidthLimit {
  uint32_t value = 0;
  WidthUnit unit = WidthUnit::pixel;
};

// One string as the display shows it.
struct DisplayString {
  std::string text;   // UTF-8; explicit line breaks kept as '\n'
  std::string key;    // what names it in its file: for plain text, the line itself
  uint32_t line = 0;  // its line in the file, from 1; 0 where the format has no lines
  std::optional<WidthLimit> max_width;
};

enum class CatalogueFormat : uint8_t { plain };

struct Catalogue {
  std::string name;  // the file, as it was named
  CatalogueFormat format = CatalogueFormat::plain;
  std::vector<DisplayString> strings;
};

// The displayed strings of the file at path. A failure naming the file when
// it cannot be read, and the file and line when its content is damaged.
Outcome<Catalogue> read_catalogue(const std::string& path);

// The same from the bytes of a file named name.
Outcome<Catalogue> parse_catalogue(const std::string& name, std::string_view bytes);

}  // namespace tralk::text
