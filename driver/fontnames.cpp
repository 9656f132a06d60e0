#include "driver/fontnames.h"

#include <algorithm>
#include <array>
#include <vector>

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

// The identifiers a font's structures define in the generated source.
std::vector<std::string> identifiers(const std::string& name, bool has_codepage) {
  if (!has_codepage) return {name};
  return {name, name + "_cp"};
}

}  // namespace

bool c_keyword(std::string_view name) {
  return std::binary_search(kCKeywords.begin(), kCKeywords.end(), name);
}

std::optional<std::string> clashing_identifier(const FONTLIST& list, const std::string& name,
                                               bool has_codepage) {
  const std::vector<std::string> mine = identifiers(name, has_codepage);
  for (const FONTENTRY& entry : list.entries) {
    const bool other_cp = entry.font && entry.font->codepage;
    for (const std::string& theirs : identifiers(entry.name, other_cp)) {
      if (std::find(mine.begin(), mine.end(), theirs) != mine.end()) return theirs;
    }
  }
  return std::nullopt;
}
