// The codepage codes an import asks for, and for each the code to look up in
// the fonts: the same code, the character a code page byte stands for, or
// the character a remapped code came from.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/outcome.h"
#include "cli/charset.h"
#include "import/fonts/code_ranges.h"

namespace tralk::importer {

struct WantedCode {
  uint16_t code = 0;               // in the codepage
  std::optional<uint32_t> lookup;  // in the fonts' charmaps; none where the code page has none
};

// The codes of the runs and of the characters of symbols (UTF-8), in code
// order; a character of symbols above 0xFFFF is taken where a run holds it
// (remapped there, as it must be). A usage failure, with the reason, for a code or character that
// the encoding cannot give a codepage code, or one code asked for twice with two meanings.
Outcome<std::vector<WantedCode>> select_codes(const std::vector<CodeRange>& ranges,
                                              const std::string& symbols,
                                              const cli::Encoding& encoding);

// The codepage code of a --defchar value: a single character, or a code
// written as -r writes them. A usage failure, with the reason, when it is
// neither or the encoding has no code for it.
Outcome<uint16_t> parse_defchar(const std::string& text, const cli::Encoding& encoding);

}  // namespace tralk::importer
