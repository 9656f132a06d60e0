// The header entry of a gettext catalogue (msgid "", in .po and .mo files
// alike), which is metadata, never text: what the readers need of it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tralk::text {

// The charset that the header's Content-Type names when it is not UTF-8
// (nor ASCII, which is UTF-8, nor the template's placeholder "CHARSET");
// none otherwise.
std::optional<std::string> foreign_charset(std::string_view header);

// "the catalogue is in ISO-8859-1, not UTF-8 (msgconv -t UTF-8 converts it)"
std::string foreign_charset_words(const std::string& charset);

}  // namespace tralk::text
