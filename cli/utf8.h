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

// The UTF-8 bytes of one character (at most 0x10FFFF, not a surrogate).
std::string utf8_encode(char32_t c);

}  // namespace tralk::cli
