// Small parsing steps shared by the readers of .sym, .cp and .pal files, on
// top of the lexer. All three formats are C initialiser lists of numbers.
#pragma once

#include <cstdint>
#include <cstdio>

#include "driver/lex.h"

// Holds the lexer on one stream for the length of a parse. Letting go makes
// no stream current, so the lexer never keeps a stream that is about to be
// closed.
class LexSession {
 public:
  explicit LexSession(std::FILE* stream) { lex_open(stream, false); }
  ~LexSession() { lex_open(nullptr, false); }
  LexSession(const LexSession&) = delete;
  LexSession& operator=(const LexSession&) = delete;
};

// Consumes the next significant character; true when it is c.
inline bool scan_expect(int c) {
  return lex_skip() == c;
}

// Reads a number; false when none stands there (a value with the top bit set
// counts as none).
inline bool scan_number(uint32_t& value) {
  const long n = lex_number();
  if (n < 0) return false;
  value = static_cast<uint32_t>(n);
  return true;
}

// Numbers are stored in the width of their field, low bits kept.
inline bool scan_u16(uint16_t& value) {
  uint32_t n = 0;
  if (!scan_number(n)) return false;
  value = static_cast<uint16_t>(n);
  return true;
}

inline bool scan_u8(uint8_t& value) {
  uint32_t n = 0;
  if (!scan_number(n)) return false;
  value = static_cast<uint8_t>(n);
  return true;
}

// Called after an element of a comma-separated list. True when another
// element follows; its first character is given back to the lexer. A ","
// followed by "}" ends the list, and so does any character other than ",";
// that character is consumed.
inline bool scan_list_goes_on() {
  if (lex_skip() != ',') return false;
  if (lex_skip() == '}') return false;
  lex_ungetc();
  return true;
}
