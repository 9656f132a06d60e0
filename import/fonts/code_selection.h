// The codepage codes an import asks for, and for each the code to look up in
// the fonts: the same code, the character a code page byte stands for, or
// the character a remapped code came from.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/charset.h"
#include "import/fonts/code_ranges.h"

struct WantedCode {
  uint16_t code = 0;               // in the codepage
  std::optional<uint32_t> lookup;  // in the fonts' charmaps; none where the code page has none
};

// The codes of the runs and of the characters of symbols (UTF-8), in code
// order. False, with the reason in error, for a code or character that the
// encoding cannot give a codepage code, or one code asked for twice with two
// meanings.
bool select_codes(const std::vector<CodeRange>& ranges, const std::string& symbols,
                  const Encoding& encoding, std::vector<WantedCode>& out, std::string& error);

// The codepage code of a --defchar value: a single character, or a code
// written as -r writes them. False, with the reason in error, when it is
// neither or the encoding has no code for it.
bool parse_defchar(const std::string& text, const Encoding& encoding, uint16_t& code,
                   std::string& error);
