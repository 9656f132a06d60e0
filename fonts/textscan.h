// The tokens of the text inputs (.sym, .cp and .pal files, all C initialiser
// lists of numbers), scanned in memory by the one scanner (base/scanner.h).
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "base/scanner.h"

// The bytes of a whole text input.
using TextBytes = std::span<const uint8_t>;

// Its body: what follows a UTF-8 byte order mark.
MemoryBytes text_body(TextBytes text);

// The line (from 1) on which the byte at at stands.
uint32_t text_line(TextBytes text, const uint8_t* at);

// What follows an element of a comma-separated list.
enum class ListStep {
  next,   // a "," and another element, whose first character is given back
  end,    // a "," followed by "}", or any character other than "," or "{"
          // (consumed), or the end of the input
  error,  // "{": the next element follows without its comma
};

class Tokens {
 public:
  explicit Tokens(TextBytes text) : text_(text), scan_(text_body(text)) {}

  int skip() { return scan_.skip(); }
  // Consumes the next significant character; true when it is c.
  bool expect(int c) { return scan_.skip() == c; }
  // Numbers are stored in the width of their field, low bits kept; a value
  // with the top bit set counts as none.
  bool u16(uint16_t& value) { return number(value); }
  bool u8(uint8_t& value) { return number(value); }

  // Called after an element of a list.
  ListStep list_step() {
    const int c = scan_.skip();
    if (c == '{') return ListStep::error;
    if (c != ',') return ListStep::end;
    if (scan_.skip() == '}') return ListStep::end;
    scan_.ungetc();
    return ListStep::next;
  }

  // The input has ended inside a comment: whatever the comment hid is lost.
  bool ended_in_comment() const { return scan_.comment_unclosed(); }

  // The line of the last character read: where a failure is reported.
  uint32_t line() const { return text_line(text_, scan_.bytes().at()); }

 private:
  template <class T>
  bool number(T& value) {
    const long n = scan_.number();
    if (n < 0) return false;
    value = static_cast<T>(n);
    return true;
  }

  TextBytes text_;
  Scanner<MemoryBytes> scan_;
};
