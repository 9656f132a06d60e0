// The character-level scanner behind every text input: the configuration,
// .sym, .cp and .pal files. One implementation of the mapping of bytes, the
// comment rules, numbers, names and lines, over a source of bytes: a block
// in memory (a whole file read at once), or another with the same calls.
//
// Every byte read is mapped: CR and LF become a line end (10), other control
// characters (tab included) a blank (32); the end of the input is -1. Blanks,
// line ends and C comments are skipped between tokens; in line mode a line
// end is reported as 10 instead. Comments do not nest; "/*" with the "*"
// that opens it does not close.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// Names hold at most 259 characters, lines 260.
constexpr int kLexNameMax = 259;
constexpr int kLexLineMax = 260;

// Bytes from a block in memory. Giving a character back steps back over its
// byte: read again, the byte maps to the same character.
class MemoryBytes {
 public:
  MemoryBytes() = default;
  MemoryBytes(const uint8_t* begin, const uint8_t* end) : at_(begin), end_(end) {}
  int next() { return at_ < end_ ? *at_++ : -1; }
  void back(int) { --at_; }
  void drop() {}
  // Where the next byte is read.
  const uint8_t* at() const { return at_; }

 private:
  const uint8_t* at_ = nullptr;
  const uint8_t* end_ = nullptr;
};

template <class Bytes>
class Scanner {
 public:
  static constexpr int kLineEnd = 10;
  static constexpr int kBlank = 32;

  explicit Scanner(Bytes bytes = Bytes(), bool linemode = false)
      : bytes_(bytes), linemode_(linemode) {}

  // The next mapped character, or -1 at the end of the input.
  int getc() {
    newlines_ = 0;
    int c = bytes_.next();
    if (c < 0) {
      last_ = -1;
      return -1;
    }
    if (c < kBlank) {
      if (c == 13 || c == 10) {
        c = kLineEnd;
        newlines_ = 1;
      } else {
        c = kBlank;
      }
    }
    last_ = c;
    return c;
  }

  // Gives back the last character read (mapped: a carriage return comes
  // back as a line end); at most one between two reads, nothing after the
  // end or another give-back.
  void ungetc() {
    if (last_ == -1) return;
    bytes_.back(last_);
    if (last_ == kLineEnd) {
      if (newlines_ > 0) --newlines_;
    } else {
      newlines_ = 0;
    }
    last_ = -1;
  }

  // The next significant character (above 32, not a comment), a line end
  // (line mode only), or -1 at the end. After a lone "/" the character
  // following it has been given back, and nothing else can be.
  int skip() {
    const int c = getc();
    // Most characters between tokens are significant ones: the rest, for
    // blanks, line ends and comments, stays out of line.
    if (c > kBlank && c != '/') return c;
    return skip_from(c);
  }

  // A decimal or 0x-hexadecimal number, accumulated modulo 2^32 and read as
  // a signed 32-bit value; -1 when none stands there (its first character
  // is given back). A digit that is the input's last character is its value.
  long number() {
    const int first = skip();
    if (first == -1) return -1;
    if (first < '0' || first > '9') {
      ungetc();
      return -1;
    }
    // Digits are read as bytes: a digit maps to itself. The character that
    // ends the number is given back.
    uint32_t value = static_cast<uint32_t>(first - '0');
    int c = bytes_.next();
    if (c == 'x' || c == 'X') {
      if (first != '0') return end_number(c, value);
      c = bytes_.next();
      if (c < 0) return end_number(c, ~0u);
      for (int digit; (digit = hex_value(c)) >= 0; c = bytes_.next())
        value = value * 16 + static_cast<uint32_t>(digit);
    } else {
      for (; c >= '0' && c <= '9'; c = bytes_.next())
        value = value * 10 + static_cast<uint32_t>(c - '0');
    }
    return end_number(c, value);
  }

  // The next name: quoted, or up to (and consuming) a blank or line end;
  // none at the end of the input or when the name is rejected (an unclosed
  // quote, 260 characters or more). Line mode is off afterwards.
  const char* name() {
    rejected_ = false;
    const int c = skip();
    if constexpr (requires(const Bytes& b) { b.at(); }) {
      name_start_ = c == -1 ? nullptr : bytes_.at() - 1;
    }
    if (c == -1) return nullptr;
    const char* result = c == '"' ? quoted_name() : plain_name(c);
    linemode_ = false;
    if (!result) rejected_ = true;
    return result;
  }

  // The rest of the line, comments included (at most 260 characters).
  const char* readline() {
    int n = 0;
    while (n < kLexLineMax) {
      const int c = getc();
      if (c == -1 || c == kLineEnd) break;
      buf_[n++] = static_cast<char>(c);
    }
    buf_[n] = '\0';
    return buf_.data();
  }

  // Forgets a character given back and the last one read.
  void drop_pushback() {
    last_ = -1;
    bytes_.drop();
  }

  void set_linemode(bool on) { linemode_ = on; }
  const Bytes& bytes() const { return bytes_; }
  // In memory: where the last name began (its quote, for a quoted one); none
  // after the end of the input.
  const uint8_t* name_start() const { return name_start_; }
  // 1 when the last character read was a line end not given back.
  int newlines() const { return newlines_; }
  // The last name was rejected rather than missing.
  bool name_rejected() const { return rejected_; }
  // The input has ended inside a block comment ("/*" without "*/").
  bool comment_unclosed() const { return comment_open_; }

 private:
  // Digit values of the characters -1 to 255, -1 for a character that is no
  // hexadecimal digit: digits and letters alternate at random in pixel data,
  // and tests for each kind would be mispredicted.
  static int hex_value(int c) {
    static constexpr std::array<int8_t, 257> kHex = [] {
      std::array<int8_t, 257> t{};
      for (int ch = -1; ch < 256; ++ch) {
        int v = -1;
        if (ch >= '0' && ch <= '9') v = ch - '0';
        if (ch >= 'a' && ch <= 'f') v = ch - 'a' + 10;
        if (ch >= 'A' && ch <= 'F') v = ch - 'A' + 10;
        t[static_cast<size_t>(ch + 1)] = static_cast<int8_t>(v);
      }
      return t;
    }();
    return kHex[static_cast<size_t>(c + 1)];
  }

  // skip, from the character c already read.
  [[gnu::noinline]] int skip_from(int c) {
    for (;;) {
      if (c == -1) return -1;
      if (c == kBlank || c == kLineEnd) {
        if (c == kLineEnd && linemode_) return kLineEnd;
        c = getc();
        continue;
      }
      if (c != '/') return c;
      const int next = getc();
      if (next == '/') {
        if (skip_line_comment() == -1) return -1;
        if (linemode_) return kLineEnd;
      } else if (next == '*') {
        const int had_line_end = skip_block_comment();
        if (had_line_end == -1) return -1;
        if (had_line_end && linemode_) return kLineEnd;
      } else {
        ungetc();
        return '/';
      }
      c = getc();
    }
  }

  // The number ends at the byte c (given back unless it is the end of the
  // input); value ~0 stands for no number at all.
  long end_number(int c, uint32_t value) {
    newlines_ = 0;
    last_ = -1;
    if (c >= 0) bytes_.back(c < kBlank ? (c == 13 || c == 10 ? kLineEnd : kBlank) : c);
    return value == ~0u ? -1 : static_cast<int32_t>(value);
  }

  // Reads to the end of a line comment; returns the line end, or -1.
  int skip_line_comment() {
    int c;
    do {
      c = getc();
    } while (c != -1 && c != kLineEnd);
    return c;
  }

  // Reads to the end of a block comment whose "/*" has been read. Returns -1
  // at the end of the input, else whether a line end was inside.
  int skip_block_comment() {
    bool had_line_end = false;
    int prev = 0;  // the "*" of the opening does not count as a closing one
    for (;;) {
      const int c = getc();
      if (c == -1) {
        comment_open_ = true;
        return -1;
      }
      if (c == kLineEnd) had_line_end = true;
      if (prev == '*' && c == '/') return had_line_end ? 1 : 0;
      prev = c;
    }
  }

  const char* quoted_name() {
    int n = 0;
    for (;;) {
      const int c = getc();
      if (c == -1 || c == kLineEnd) return nullptr;
      if (c == '"') break;
      if (n == kLexNameMax) return nullptr;
      buf_[n++] = static_cast<char>(c);
    }
    buf_[n] = '\0';
    return buf_.data();
  }

  // A name that begins with c, up to and including its terminator.
  const char* plain_name(int c) {
    int n = 0;
    if (c != kLineEnd) {
      for (;;) {
        if (n == kLexNameMax) return nullptr;
        buf_[n++] = static_cast<char>(c);
        c = getc();
        if (c == -1 || c == kBlank || c == kLineEnd) break;
      }
    }
    buf_[n] = '\0';
    return buf_.data();
  }

  Bytes bytes_;
  bool linemode_ = false;
  int last_ = -1;  // last character delivered; -1 when none may be given back
  int newlines_ = 0;
  bool rejected_ = false;
  bool comment_open_ = false;
  const uint8_t* name_start_ = nullptr;
  std::array<char, kLexLineMax + 1> buf_{};
};
