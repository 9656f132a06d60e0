// From a message of a catalogue to the strings the display shows: its
// placeholders taken out by the rules of its format, then put into NFC.
// Every reader adds its strings through here.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/outcome.h"
#include "text/catalogue.h"

namespace tralk::text {

// Which placeholders a format's messages hold (docs/formats.md, "What is not
// text").
enum class Placeholders : uint8_t {
  none,       // plain text: every character is text
  c_format,   // gettext: printf's conversions
  qt_format,  // Qt Linguist: %1, %n
  i18next,    // JSON: i18next's, then ICU's where the rest is an ICU message
  icu,        // ARB: ICU messages, which must be well-formed
};

// Where a message is in its file.
struct MessagePlace {
  std::string_view key;
  uint32_t line = 0;
  uint32_t offset = 0;
  std::optional<WidthLimit> max_width;
};

// Adds to cat the strings that message (well-formed UTF-8) shows: none when
// nothing is left of it, several for an ICU message with branches. A
// failure naming the place when rules are icu and message is not an ICU
// message.
Status add_message(Catalogue& cat, std::string_view message, Placeholders rules,
                   const MessagePlace& place);

// key, cut at a character to at most kMaxKeyBytes bytes.
std::string catalogue_key(std::string_view key);

// "line 3 of "de.po": what": a failure of the file at a line (or, with
// line 0, at a byte offset).
Failure damaged(const std::string& file, uint32_t line, const std::string& what,
                uint32_t offset = 0);

// "line 3 of "de.po" is not UTF-8 text" (with line 0, the byte offset).
Failure not_utf8(const std::string& file, uint32_t line, uint32_t offset = 0);

}  // namespace tralk::text
