// Unicode normalisation of displayed text. The display library draws one
// symbol per character code, so a string must reach it composed: "ί" as
// U+03AF, not as ι followed by U+0301, which would draw as "ι´".
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tralk::text {

// The well-formed UTF-8 text in Unicode Normalization Form C.
std::string to_nfc(std::string_view utf8);
// The same for a string of its own, which is kept as it is where it is in
// NFC already (no copy).
std::string to_nfc_owned(std::string utf8);

// The sequences of composed (NFC) text that still hold a combining mark: a
// mark that has no composed form with the character before it, which the
// display would draw as a symbol of its own. Each is the base character (none
// for a mark that starts the text) followed by its marks, in text order.
std::vector<std::u32string> uncomposed_sequences(std::string_view nfc_utf8);

// Whether c is a combining mark (Unicode's general category M), which the
// display draws as a symbol of its own.
bool is_mark(char32_t c);

// "U+0071 U+0303": a sequence's codes, as messages name them.
std::string code_list(std::u32string_view codes);

}  // namespace tralk::text
