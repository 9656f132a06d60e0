// UTF-8 text as character codes: the characters that tralk-import's
// --symbols and tralk-inspect's --text take from the command line.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tralk::cli {

// The characters of text; none when text is not well-formed UTF-8 (a cut or
// overlong sequence, a surrogate, a code above 0x10FFFF).
std::optional<std::vector<char32_t>> utf8_decode(std::string_view text);

// The character that starts at text[at] (at < text.size()), at moved past
// it; none, at unchanged, when no well-formed one starts there. Inline: the
// catalogue readers and the importer call it for every character.
inline std::optional<char32_t> utf8_next(std::string_view text, size_t& at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  if (lead < 0x80) return text[at++];
  // The length of the sequence, the bits of the lead byte, and the smallest
  // character that needs that length (anything below is an overlong form).
  size_t n = 0;
  char32_t c = 0, least = 0;
  if ((lead & 0xE0) == 0xC0) {
    n = 2, c = lead & 0x1Fu, least = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    n = 3, c = lead & 0x0Fu, least = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    n = 4, c = lead & 0x07u, least = 0x10000;
  } else {
    return std::nullopt;
  }
  if (text.size() - at < n) return std::nullopt;
  for (size_t k = 1; k < n; ++k) {
    const auto b = static_cast<unsigned char>(text[at + k]);
    if ((b & 0xC0) != 0x80) return std::nullopt;
    c = (c << 6) | (b & 0x3Fu);
  }
  if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
  at += n;
  return c;
}

// Whether text is well-formed UTF-8, without decoding it into a copy.
bool is_utf8(std::string_view text);

// The UTF-8 bytes of one character (at most 0x10FFFF, not a surrogate).
std::string utf8_encode(char32_t c);

}  // namespace tralk::cli
