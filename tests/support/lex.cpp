#include "support/lex.h"

#include <cstdio>

namespace {

// The current stream of the lex_ operations.
Scanner<StreamBytes> current;
bool rejected = false;

}  // namespace

void lex_open(std::FILE* stream, bool linemode) {
  current = Scanner<StreamBytes>(StreamBytes(stream), stream && linemode);
}

int lex_getc() {
  return current.getc();
}

void lex_ungetc() {
  current.ungetc();
}

int lex_skip() {
  return current.skip();
}

long lex_number() {
  return current.number();
}

const char* lex_name() {
  const char* name = current.name();
  rejected = current.name_rejected();
  return name;
}

bool lex_name_rejected() {
  return rejected;
}

const char* lex_readline(std::FILE* stream) {
  if (!stream) return nullptr;
  current = Scanner<StreamBytes>(StreamBytes(stream));
  static char line[kLexLineMax + 1];
  std::snprintf(line, sizeof line, "%s", current.readline());
  current = Scanner<StreamBytes>();
  return line;
}
