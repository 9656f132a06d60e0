#include "driver/fontnames.h"

#include <algorithm>
#include <array>

#include "base/path.h"

namespace {

constexpr size_t kFontNameMax = 511;
constexpr size_t kFontNameSourceMax = 510;

bool is_digit(char c) {
  return c >= '0' && c <= '9';
}
bool is_ident_char(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || is_digit(c) || c == '_';
}

// Sorted, for a binary search.
constexpr std::array<std::string_view, 59> kCKeywords = {
    "_Alignas",
    "_Alignof",
    "_Atomic",
    "_BitInt",
    "_Bool",
    "_Complex",
    "_Decimal128",
    "_Decimal32",
    "_Decimal64",
    "_Generic",
    "_Imaginary",
    "_Noreturn",
    "_Static_assert",
    "_Thread_local",
    "alignas",
    "alignof",
    "auto",
    "bool",
    "break",
    "case",
    "char",
    "const",
    "constexpr",
    "continue",
    "default",
    "do",
    "double",
    "else",
    "enum",
    "extern",
    "false",
    "float",
    "for",
    "goto",
    "if",
    "inline",
    "int",
    "long",
    "nullptr",
    "register",
    "restrict",
    "return",
    "short",
    "signed",
    "sizeof",
    "static",
    "static_assert",
    "struct",
    "switch",
    "thread_local",
    "true",
    "typedef",
    "typeof",
    "typeof_unqual",
    "union",
    "unsigned",
    "void",
    "volatile",
    "while",
};
static_assert(std::is_sorted(kCKeywords.begin(), kCKeywords.end()));

}  // namespace

bool c_keyword(std::string_view name) {
  return std::binary_search(kCKeywords.begin(), kCKeywords.end(), name);
}

std::optional<std::string> ImageIdentifiers::take(const std::string& name, bool has_codepage) {
  const std::string cp = name + "_cp";
  if (taken_.contains(name)) return name;
  if (has_codepage && taken_.contains(cp)) return cp;
  taken_.insert(name);
  if (has_codepage) taken_.insert(cp);
  return std::nullopt;
}

std::string make_fontname(const std::optional<std::string>& tmpl,
                          const std::optional<std::string>& path) {
  if (!tmpl) return path_ident(path.value_or(""));
  if (!path) return *tmpl;
  const std::string& t = *tmpl;
  const bool wild = t.find_first_of("*?") != std::string::npos;
  const std::string source = wild ? path_ident(*path) : std::string();
  size_t pos = 0;  // position in source
  std::string name;
  for (size_t i = 0; i < t.size();) {
    if (name.size() >= kFontNameMax) break;
    const char c = t[i];
    const bool exhausted = pos >= source.size();
    if (is_ident_char(c)) {
      if (is_digit(c) && name.empty()) name += '_';
      name += c;
      if (!exhausted) ++pos;
      ++i;
    } else if (c == '*') {
      if (!exhausted) {
        for (size_t k = 0; k < source.size() && name.size() < kFontNameSourceMax; ++k) {
          name += source[k];
        }
        pos = source.size();
      }
      while (i < t.size() && (t[i] == '*' || t[i] == '?')) ++i;
    } else if (c == '?') {
      if (!exhausted) name += source[pos++];
      ++i;
    } else {
      name += '_';
      ++i;
    }
  }
  if (name.empty()) name = "_";
  return name;
}
