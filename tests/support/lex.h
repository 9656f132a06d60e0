// The text lexer's procedural interface, kept for the tests: each
// operation is a thin call into the scanner (base/scanner.h) on one current
// stream held here. tralk itself does not read through it: its readers scan
// whole files with their own Scanner, the configuration included
// (driver/config_lines.h).
#pragma once

#include <cstdio>

#include "base/scanner.h"

// Bytes from a stream, read with the unlocked per-character call (the
// program is single-threaded). A character given back is kept here and
// delivered by the next read.
class StreamBytes {
 public:
  explicit StreamBytes(std::FILE* f = nullptr) : f_(f) {}
  int next() {
    if (pending_ != -1) {
      const int c = pending_;
      pending_ = -1;
      return c;
    }
    if (!f_) return -1;
#if defined(_WIN32)
    return _getc_nolock(f_);
#else
    return getc_unlocked(f_);
#endif
  }
  void back(int c) {
    pending_ = c;
  }
  void drop() {
    pending_ = -1;
  }

 private:
  std::FILE* f_;
  int pending_ = -1;
};

// Makes stream current (none: every read yields the end) with the given line
// mode; clears the push-back, line-end and comment state.
void lex_open(std::FILE* stream, bool linemode);
// Next mapped character, or -1 at the end of the stream.
int lex_getc();
// Pushes the last character read back (at most one between two reads).
void lex_ungetc();
// Next significant character (above 32, not a comment), a line end (line mode
// only), or -1 at the end.
int lex_skip();
// A non-negative decimal or 0x-hexadecimal number, or -1 (no number there; a
// value with the top bit set reads as negative too).
long lex_number();
// The next name (quoted or up to a blank or line end), or none at the end of
// the stream or when the name is rejected (see lex_name_rejected). The result
// lives in a shared buffer until the next name or line is read.
const char* lex_name();
// True when the last lex_name, cfg_firstname or cfg_linearg returned none
// because the name was rejected (an unclosed quote, or 260 characters or
// more) rather than because the stream ended.
bool lex_name_rejected();
// The stream's next line (at most 260 characters), comments included; none
// for no stream. Leaves no stream current.
const char* lex_readline(std::FILE* stream);
