#include "driver/fontnames.h"

#include <algorithm>
#include <array>

namespace {

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
