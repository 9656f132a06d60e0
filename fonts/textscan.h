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

// What follows an element of a comma-separated list.
enum class ListStep {
  next,   // a "," and another element, whose first character is given back
  end,    // a "," followed by "}", or any character other than "," or "{"
          // (consumed), or the end of the stream
  error,  // "{": the next element follows without its comma
};

// The step after a list element, given the significant character after it.
// more() reads on after a ",": true when another element follows.
template <class More>
ListStep list_step_after(int c, More more) {
  if (c == '{') return ListStep::error;
  if (c != ',') return ListStep::end;
  return more() ? ListStep::next : ListStep::end;
}

inline ListStep scan_list_step() {
  return list_step_after(lex_skip(), [] {
    if (lex_skip() == '}') return false;
    lex_ungetc();
    return true;
  });
}
