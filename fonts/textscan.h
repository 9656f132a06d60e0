// The tokens of the text inputs (.sym, .cp and .pal files, all C initialiser
// lists of numbers), read whole into memory and scanned by the one scanner
// (driver/scanner.h).
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "base/page_alloc.h"
#include "base/scanner.h"
#include "fonts/symfont.h"

// A whole text file; its body begins after a UTF-8 byte order mark.
struct TextFile {
  ByteBlock bytes;
  size_t size = 0;
  size_t start = 0;
  MemoryBytes body() const { return MemoryBytes(bytes.data() + start, bytes.data() + size); }
};

// Reads the file at path whole; none when it cannot be opened. A file that
// cannot be read (a folder) reads as empty.
std::optional<TextFile> read_text_file(const char* path);

// What follows an element of a comma-separated list.
enum class ListStep {
  next,   // a "," and another element, whose first character is given back
  end,    // a "," followed by "}", or any character other than "," or "{"
          // (consumed), or the end of the input
  error,  // "{": the next element follows without its comma
};

class Tokens {
 public:
  explicit Tokens(const TextFile& file) : scan_(file.body()) {}

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

 private:
  template <class T>
  bool number(T& value) {
    const long n = scan_.number();
    if (n < 0) return false;
    value = static_cast<T>(n);
    return true;
  }

  Scanner<MemoryBytes> scan_;
};
