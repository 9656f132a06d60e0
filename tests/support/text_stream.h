// Text given to the lexer through a real stream, for the lexer's own tests
// and the readers built on it.
#pragma once

#include <cstdio>
#include <string>

#include "base/fileio.h"
#include "support/lex.h"

// A temporary stream holding text, rewound to its start.
inline FilePtr stream_of(const std::string& text) {
  FilePtr f(std::tmpfile());
  std::fwrite(text.data(), 1, text.size(), f.get());
  std::rewind(f.get());
  return f;
}

// Everything lex_getc delivers from now to the end, as text.
inline std::string lex_rest() {
  std::string out;
  for (int c; (c = lex_getc()) != -1;) out += static_cast<char>(c);
  return out;
}
