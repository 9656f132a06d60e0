#include "text/icu_message.h"

#include <unicode/messagepattern.h>
#include <unicode/parseerr.h>
#include <unicode/unistr.h>

#include <algorithm>

namespace tralk::text {

namespace {

using Texts = std::vector<icu::UnicodeString>;

// ICU's parser recurses once a level; no real message nests a tenth as deep.
constexpr int kMaxNesting = 64;

bool has_branches(UMessagePatternArgType type) {
  return type == UMSGPAT_ARG_TYPE_PLURAL || type == UMSGPAT_ARG_TYPE_SELECT ||
         type == UMSGPAT_ARG_TYPE_SELECTORDINAL || type == UMSGPAT_ARG_TYPE_CHOICE;
}

// The texts so far, each followed by one of the argument's branch texts:
// the i-th text by the i-th branch (or the last), at most kMaxMessageTexts,
// the last of them then followed by every branch left. Appended in place:
// a message of many arguments costs no more than its texts' length.
void add_branches(Texts& texts, const Texts& branches) {
  if (branches.empty()) return;
  const size_t count = std::max(texts.size(), std::min(branches.size(), kMaxMessageTexts));
  texts.reserve(count);
  while (texts.size() < count) texts.push_back(texts.back());
  for (size_t i = 0; i < count; ++i) {
    const size_t first = std::min(i, branches.size() - 1);
    const size_t end = i + 1 == count ? branches.size() : first + 1;
    for (size_t b = first; b < end; ++b) texts[i] += branches[b];
  }
}

void add_text(Texts& texts, const icu::UnicodeString& pattern, int32_t from, int32_t to) {
  if (to <= from) return;
  for (icu::UnicodeString& t : texts) t.append(pattern, from, to - from);
}

// The texts of the (sub)message whose MSG_START part is at start.
Texts message_texts(const icu::MessagePattern& parts, int32_t start) {
  const icu::UnicodeString& pattern = parts.getPatternString();
  Texts texts(1);
  int32_t from = parts.getPart(start).getLimit();
  const int32_t limit = parts.getLimitPartIndex(start);
  for (int32_t i = start + 1; i <= limit; ++i) {
    const icu::MessagePattern::Part& part = parts.getPart(i);
    const UMessagePatternPartType type = part.getType();
    if (type != UMSGPAT_PART_TYPE_MSG_LIMIT && type != UMSGPAT_PART_TYPE_SKIP_SYNTAX &&
        type != UMSGPAT_PART_TYPE_REPLACE_NUMBER && type != UMSGPAT_PART_TYPE_INSERT_CHAR &&
        type != UMSGPAT_PART_TYPE_ARG_START)
      continue;
    add_text(texts, pattern, from, part.getIndex());
    from = part.getLimit();
    if (type != UMSGPAT_PART_TYPE_ARG_START) continue;
    const int32_t arg_limit = parts.getLimitPartIndex(i);
    if (has_branches(part.getArgType())) {
      Texts branches;
      for (int32_t j = i + 1; j < arg_limit; ++j) {
        if (parts.getPart(j).getType() != UMSGPAT_PART_TYPE_MSG_START) continue;
        const Texts branch = message_texts(parts, j);
        branches.insert(branches.end(), branch.begin(), branch.end());
        j = parts.getLimitPartIndex(j);
      }
      add_branches(texts, branches);
    }
    i = arg_limit;
    from = parts.getPart(arg_limit).getLimit();
  }
  return texts;
}

std::string reason(UErrorCode status) {
  switch (status) {
    case U_UNMATCHED_BRACES:
      return "a brace without its partner";
    case U_PATTERN_SYNTAX_ERROR:
    case U_ILLEGAL_ARGUMENT_ERROR:
      return "a syntax error";
    case U_DEFAULT_KEYWORD_MISSING:
      return "a plural or select argument without its \"other\" branch";
    case U_INDEX_OUTOFBOUNDS_ERROR:
      return "an argument name or number too long";
    default:
      return u_errorName(status);
  }
}

// Deeper than kMaxNesting braces somewhere (counted as if none were quoted).
bool nests_too_deep(std::string_view message) {
  int depth = 0;
  for (const char c : message) {
    if (c == '{' && ++depth > kMaxNesting) return true;
    if (c == '}' && depth > 0) --depth;
  }
  return false;
}

}  // namespace

Outcome<std::vector<std::string>> icu_message_texts(std::string_view message) {
  if (nests_too_deep(message))
    return Failure{Fault::format,
                   "arguments nested deeper than " + std::to_string(kMaxNesting) + " levels"};
  const icu::UnicodeString pattern = icu::UnicodeString::fromUTF8(
      icu::StringPiece(message.data(), static_cast<int32_t>(message.size())));
  UErrorCode status = U_ZERO_ERROR;
  UParseError where{};
  const icu::MessagePattern parts(pattern, &where, status);
  // ICU places an unclosed brace at the start.
  if (status == U_UNMATCHED_BRACES) return Failure{Fault::format, reason(status)};
  if (U_FAILURE(status))
    return Failure{Fault::format,
                   reason(status) + " at character " +
                       std::to_string(pattern.countChar32(0, std::max(where.offset, 0)) + 1)};
  std::vector<std::string> out;
  for (const icu::UnicodeString& text : message_texts(parts, 0)) {
    std::string utf8;
    text.toUTF8String(utf8);
    out.push_back(std::move(utf8));
  }
  return out;
}

}  // namespace tralk::text
