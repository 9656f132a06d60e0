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

// One string as the display shows it: in NFC, without what the program puts
// in when it shows it (printf's conversions, ICU and i18next arguments: see
// docs/formats.md, "Translation catalogues").
struct DisplayString {
  std::string text;   // UTF-8; explicit line breaks kept as '\n'
  std::string key;    // what names it in its file: for plain text, the line itself
  uint32_t line = 0;  // its line in the file, from 1; 0 where the format has no lines
  std::optional<WidthLimit> max_width;
  uint32_t offset = 0;  // where the format has no lines (.mo): its first byte in the file
};

// A key longer than this is cut at a character and ends in "..." (U+2026),
// so that no file can make its keys take more memory than its strings.
inline constexpr size_t kMaxKeyBytes = 256;

enum class CatalogueFormat : uint8_t {
  plain,  // UTF-8 text, one string a line
  po,     // gettext .po and .pot
  mo,     // gettext's compiled .mo
  ts,     // Qt Linguist
  xliff,  // XLIFF 1.2 and 2.0
  json,   // JSON, as i18next writes it
  arb,    // Application Resource Bundle: JSON with ICU messages
};

// "gettext PO": the format's name, as messages show it.
const char* format_name(CatalogueFormat format);

struct Catalogue {
  std::string name;  // the file, as it was named
  CatalogueFormat format = CatalogueFormat::plain;
  std::vector<DisplayString> strings;
};

// The displayed strings of the file at path. A failure naming the file when
// it cannot be read, and the file and line when its content is damaged.
Outcome<Catalogue> read_catalogue(const std::string& path);

// The same from the bytes of a file named name. The format is recognised by
// the name's extension and the bytes (recognise_format).
Outcome<Catalogue> parse_catalogue(const std::string& name, std::string_view bytes);

// The format of the file named name holding bytes: .txt is plain text
// whatever it holds; .po, .pot, .mo, .gmo, .xlf, .xliff, .json and .arb are
// their formats; .ts is Qt Linguist when it holds XML and plain text (a
// TypeScript source) when not; any other name is recognised by content (the
// .mo magic number, an XML root element TS or xliff, a first entry of a .po
// file), and is plain text otherwise.
CatalogueFormat recognise_format(std::string_view name, std::string_view bytes);

// Where s is in its file, as messages name it: line 3 of "de.po", byte 120
// of "de.mo".
std::string place_of(const std::string& file, const DisplayString& s);

}  // namespace tralk::text
