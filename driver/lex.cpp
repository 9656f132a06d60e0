#include "driver/lex.h"

#include <array>
#include <cstdint>

namespace {

std::FILE* lex_stream = nullptr;
int lex_last = -1;          // last character delivered, -1 when none may be pushed back
bool lex_linemode = false;  // report line ends instead of skipping them
int lex_newlines = 0;       // 1 when the last character read was an unread line end
// The character pushed back, delivered by the next read; -1 for none. It is
// kept here rather than given back to the stream: numbers and lists push back
// about twice per number, and the next read takes the character at once. It
// belongs to the reading of the current stream and is dropped whenever a
// stream is made current (no caller leaves one behind there: a name consumes
// its terminator), so it never reaches a stream that has been closed since.
int lex_pending = -1;
char lex_namebuf[kLexLineMax + 1];
bool name_rejected = false;
// Set when the current stream ended inside a block comment.
bool lex_comment_open = false;

// The configuration stream keeps its own line-end state, so that reading
// another file between two configuration reads does not disturb it.
std::FILE* cfg_stream = nullptr;
int cfg_newlines = 0;
bool cfg_comment_open = false;  // the configuration ended inside a block comment

constexpr int kLineEnd = 10;
constexpr int kBlank = 32;

// Large fonts are parsed character by character, so the read is the hot
// path: the unlocked form takes the byte straight from the stream's own
// buffer (the program is single-threaded).
inline int read_byte(std::FILE* stream) {
#if defined(_WIN32)
  return _getc_nolock(stream);
#else
  return getc_unlocked(stream);
#endif
}

// Delivers the next mapped character (a pushed-back one first): CR and LF
// become a line end, other control characters a blank; -1 at the end of the
// stream. Inlined into the scanning loops below; lex_getc is the same for
// other callers.
inline int next_char() {
  lex_newlines = 0;
  int c;
  if (lex_pending != -1) {
    c = lex_pending;
    lex_pending = -1;
  } else {
    c = lex_stream ? read_byte(lex_stream) : EOF;
    if (c == EOF) {
      lex_last = -1;
      return -1;
    }
  }
  int mapped = c;
  if (c < kBlank) {
    if (c == 13 || c == 10) {
      mapped = kLineEnd;
      lex_newlines = 1;
    } else {
      mapped = kBlank;
    }
  }
  lex_last = mapped;
  return mapped;
}

bool is_digit(int c) {
  return c >= '0' && c <= '9';
}

// Digit values of the characters -1 to 255, -1 for a character that is no
// hexadecimal digit. A table, since digits and letters alternate at random
// in hexadecimal pixel data and a test for each kind would be mispredicted.
constexpr std::array<int8_t, 257> kHexValues = [] {
  std::array<int8_t, 257> t{};
  for (int c = -1; c < 256; ++c) {
    int v = -1;
    if (c >= '0' && c <= '9') v = c - '0';
    if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
    if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
    t[static_cast<size_t>(c + 1)] = static_cast<int8_t>(v);
  }
  return t;
}();

int hex_value(int c) {
  return kHexValues[static_cast<size_t>(c + 1)];
}

// Reads to the end of a line comment. Returns the line end, or -1.
int skip_line_comment() {
  int c;
  do {
    c = next_char();
  } while (c != -1 && c != kLineEnd);
  return c;
}

// Reads to the end of a block comment whose "/*" has been read. Returns -1 at
// the end of the stream, else whether a line end was inside.
int skip_block_comment() {
  bool had_line_end = false;
  int prev = 0;  // the "*" of the opening does not count as a closing one
  for (;;) {
    int c = next_char();
    if (c == -1) {
      lex_comment_open = true;
      return -1;
    }
    if (c == kLineEnd) had_line_end = true;
    if (prev == '*' && c == '/') return had_line_end ? 1 : 0;
    prev = c;
  }
}

const char* read_quoted_name() {
  int n = 0;
  for (;;) {
    int c = next_char();
    if (c == -1 || c == kLineEnd) return nullptr;
    if (c == '"') break;
    if (n == kLexNameMax) return nullptr;
    lex_namebuf[n++] = static_cast<char>(c);
  }
  lex_namebuf[n] = '\0';
  return lex_namebuf;
}

// Reads a name that begins with c, up to and including its terminator.
const char* read_plain_name(int c) {
  int n = 0;
  if (c != kLineEnd) {
    for (;;) {
      if (n == kLexNameMax) return nullptr;
      lex_namebuf[n++] = static_cast<char>(c);
      c = next_char();
      if (c == -1 || c == kBlank || c == kLineEnd) break;
    }
  }
  lex_namebuf[n] = '\0';
  return lex_namebuf;
}

void make_current(std::FILE* stream) {
  lex_stream = stream;
  lex_last = -1;
  lex_pending = -1;
  lex_comment_open = false;
}

// Keeps the configuration stream's line state after a name read from it. Once
// its end has been reached inside a comment, later reads only meet the end.
void keep_cfg_state(std::FILE* stream) {
  if (stream != cfg_stream) cfg_comment_open = false;
  cfg_stream = stream;
  cfg_newlines = lex_newlines;
  cfg_comment_open = cfg_comment_open || lex_comment_open;
}

}  // namespace

void lex_open(std::FILE* stream, bool linemode) {
  make_current(stream);
  lex_newlines = 0;
  lex_linemode = stream ? linemode : false;
}

int lex_getc() {
  return next_char();
}

void lex_ungetc() {
  if (lex_last == -1 || !lex_stream) return;
  lex_pending = lex_last;
  if (lex_last == kLineEnd) {
    if (lex_newlines > 0) --lex_newlines;
  } else {
    lex_newlines = 0;
  }
  lex_last = -1;
}

int lex_skip() {
  int c = next_char();
  for (;;) {
    if (c == -1) return -1;
    if (c == kBlank || c == kLineEnd) {
      if (c == kLineEnd && lex_linemode) return kLineEnd;
      c = next_char();
      continue;
    }
    if (c != '/') return c;
    int next = next_char();
    if (next == '/') {
      if (skip_line_comment() == -1) return -1;
      if (lex_linemode) return kLineEnd;
    } else if (next == '*') {
      int had_line_end = skip_block_comment();
      if (had_line_end == -1) return -1;
      if (had_line_end && lex_linemode) return kLineEnd;
    } else {
      lex_ungetc();  // a lone "/": nothing is left to push back after it
      return '/';
    }
    c = next_char();
  }
}

long lex_number() {
  int c = lex_skip();
  if (c == -1) return -1;
  if (!is_digit(c)) {
    lex_ungetc();
    return -1;
  }
  const int first = c;
  uint32_t value = static_cast<uint32_t>(c - '0');
  c = next_char();
  if (c == -1) return static_cast<int32_t>(value);
  if (c == 'x' || c == 'X') {
    if (first != '0') {
      lex_ungetc();
      return static_cast<int32_t>(value);
    }
    c = next_char();
    if (c == -1) return -1;
    for (int digit; (digit = hex_value(c)) >= 0;) {
      value = value * 16 + static_cast<uint32_t>(digit);
      c = next_char();
      if (c == -1) return static_cast<int32_t>(value);
    }
  } else {
    while (is_digit(c)) {
      value = value * 10 + static_cast<uint32_t>(c - '0');
      c = next_char();
      if (c == -1) return static_cast<int32_t>(value);
    }
  }
  lex_ungetc();
  return static_cast<int32_t>(value);
}

const char* lex_name() {
  name_rejected = false;
  int c = lex_skip();
  if (c == -1) return nullptr;
  const char* name = c == '"' ? read_quoted_name() : read_plain_name(c);
  lex_linemode = false;
  if (!name) name_rejected = true;
  return name;
}

bool lex_name_rejected() {
  return name_rejected;
}

bool lex_comment_unclosed() {
  return lex_comment_open;
}

bool cfg_comment_unclosed(std::FILE* stream) {
  return stream && stream == cfg_stream && cfg_comment_open;
}

const char* lex_readline(std::FILE* stream) {
  if (!stream) return nullptr;
  make_current(stream);
  int n = 0;
  while (n < kLexLineMax) {
    int c = next_char();
    if (c == -1 || c == kLineEnd) break;
    lex_namebuf[n++] = static_cast<char>(c);
  }
  lex_namebuf[n] = '\0';
  lex_stream = nullptr;
  return lex_namebuf;
}

const char* cfg_firstname(std::FILE* stream) {
  name_rejected = false;
  if (!stream) return nullptr;
  make_current(stream);
  lex_linemode = false;
  const char* name = lex_name();
  keep_cfg_state(stream);
  return name;
}

const char* cfg_linearg(std::FILE* stream) {
  name_rejected = false;
  if (!stream) return nullptr;
  if (stream == cfg_stream && cfg_newlines == 1) return nullptr;
  make_current(stream);
  lex_linemode = true;
  const char* name = lex_name();
  lex_linemode = false;
  keep_cfg_state(stream);
  if (!name || name[0] == '\0') return nullptr;
  return name;
}
