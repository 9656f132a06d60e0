// The texts of an ICU message (ARB files, and JSON after i18next's
// placeholders): its arguments ({name}, {count, number}) show values, not
// text, and a plural, select or selectordinal argument shows one of its
// branches, whose texts are text ("{n, plural, one {# item} other {#
// items}}": " item" and " items"; "#" is the number). Read with ICU's own
// parser of the syntax, icu::MessagePattern.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/outcome.h"

namespace tralk::text {

// A message gives at most this many texts.
inline constexpr size_t kMaxMessageTexts = 32;

// The texts the message (UTF-8) can show: one per branch, the first taking
// every argument's first branch, the second each one's second (or its last,
// where it has fewer), and so on, so that each branch's text is in one of
// them; past kMaxMessageTexts, the last text holds the rest of the branches
// one after another. Quoting apostrophes are taken out. A failure, with
// ICU's reason and the character where it found it, when the message is not
// in ICU's syntax.
Outcome<std::vector<std::string>> icu_message_texts(std::string_view message);

}  // namespace tralk::text
