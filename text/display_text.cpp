#include "text/display_text.h"

#include <algorithm>

#include "base/text.h"
#include "text/icu_message.h"
#include "text/normalise.h"
#include "text/placeholders.h"

namespace tralk::text {

namespace {

void add_text(Catalogue& cat, std::string text, const MessagePlace& place) {
  if (text.empty()) return;
  cat.strings.push_back({to_nfc_owned(std::move(text)), catalogue_key(place.key), place.line,
                         place.max_width, place.offset});
}

// ICU messages: only a brace or an apostrophe can make one differ from its
// text.
bool may_be_icu(std::string_view message) {
  // (find_first_of would search its set a byte at a time.)
  return std::any_of(message.begin(), message.end(), [](char c) { return c == '{' || c == '\''; });
}

}  // namespace

Status add_message(Catalogue& cat, std::string_view message, Placeholders rules,
                   const MessagePlace& place) {
  switch (rules) {
    case Placeholders::none:
      add_text(cat, std::string(message), place);
      return {};
    case Placeholders::c_format:
      add_text(cat, without_printf_conversions(message), place);
      return {};
    case Placeholders::qt_format:
      add_text(cat, without_qt_arguments(message), place);
      return {};
    case Placeholders::i18next:
    case Placeholders::icu:
      break;
  }
  std::string rest =
      rules == Placeholders::i18next ? without_i18next_placeholders(message) : std::string(message);
  if (!may_be_icu(rest)) {
    add_text(cat, std::move(rest), place);
    return {};
  }
  Outcome<std::vector<std::string>> texts = icu_message_texts(rest);
  if (!texts.ok()) {
    // JSON that is not an ICU message is text as it stands.
    if (rules == Placeholders::i18next) {
      add_text(cat, std::move(rest), place);
      return {};
    }
    return damaged(
        cat.name, place.line,
        in_quotes(catalogue_key(place.key)) + " is not an ICU message: " + texts.error());
  }
  for (std::string& text : texts.value()) add_text(cat, std::move(text), place);
  return {};
}

std::string catalogue_key(std::string_view key) {
  if (key.size() <= kMaxKeyBytes) return std::string(key);
  const std::string_view ellipsis = "\xE2\x80\xA6";
  size_t cut = kMaxKeyBytes - ellipsis.size();
  // Back to the first byte of a character.
  while (cut > 0 && (static_cast<unsigned char>(key[cut]) & 0xC0) == 0x80) --cut;
  return std::string(key.substr(0, cut)) + std::string(ellipsis);
}

namespace {

std::string place(const std::string& file, uint32_t line, uint32_t offset) {
  return (line ? "line " + std::to_string(line) : "byte " + std::to_string(offset)) + " of " +
         in_quotes(file);
}

}  // namespace

Failure damaged(const std::string& file, uint32_t line, const std::string& what, uint32_t offset) {
  return Failure{Fault::format, place(file, line, offset) + ": " + what};
}

Failure not_utf8(const std::string& file, uint32_t line, uint32_t offset) {
  return Failure{Fault::format, place(file, line, offset) + " is not UTF-8 text"};
}

}  // namespace tralk::text
