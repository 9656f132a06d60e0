// The characters selected on tralk-import's command line: -r lists such as
// "0x20-0x7E,0xA0-0xFF", "U+0400-U+045F", single codes, and remapped runs
// such as "0x1F600-0x1F64F=>0xE000" that give characters beyond the 16-bit
// codepage codes a place below 0x10000; and codes as messages write them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/outcome.h"

namespace tralk::importer {

// The largest codepage code, and the largest character code accepted.
constexpr uint32_t kMaxCpCode = 0xFFFF;
constexpr uint32_t kMaxCharCode = 0x10FFFF;

// The characters first to last, given the codepage codes from `to` on (to
// equals first unless the run is remapped).
struct CodeRange {
  uint32_t first = 0;
  uint32_t last = 0;
  uint32_t to = 0;

  bool operator==(const CodeRange&) const = default;
};

// Reads one code: 0x hexadecimal, U+ hexadecimal or decimal, at most
// kMaxCharCode. None for anything else.
std::optional<uint32_t> parse_code(std::string_view text);

// The runs of a comma-separated list: CODE, FIRST-LAST, and either followed
// by =>TO. A usage failure, with the reason, for a malformed item, a run
// that goes backwards, or codes that would land above kMaxCpCode.
Outcome<std::vector<CodeRange>> parse_ranges(std::string_view text);

// "0x41", or "0x41-0x5A" for a run of several codes.
std::string format_code_run(uint32_t first, uint32_t last);

// "0x0041": a codepage code, four digits at least.
std::string hex4(uint32_t code);

// "U+0041": a character.
std::string u_plus(char32_t c);

}  // namespace tralk::importer
