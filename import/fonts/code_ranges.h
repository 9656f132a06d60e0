// The characters selected on tralk-import's command line: -r lists such as
// "0x20-0x7E,0xA0-0xFF", "U+0400-U+045F", single codes, and remapped runs
// such as "0x1F600-0x1F64F=>0xE000" that give characters beyond the 16-bit
// codepage codes a place below 0x10000.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

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
// kMaxCharCode. False for anything else.
bool parse_code(std::string_view text, uint32_t& code);

// Appends the runs of a comma-separated list: CODE, FIRST-LAST, and either
// followed by =>TO. False, with the reason in error, for a malformed item, a
// run that goes backwards, or codes that would land above kMaxCpCode.
bool parse_ranges(std::string_view text, std::vector<CodeRange>& out, std::string& error);

// "0x41", or "0x41-0x5A" for a run of several codes.
std::string format_code_run(uint32_t first, uint32_t last);
