// The configuration, read one entry per line: the first name of the next
// line that holds one, then a further name on the same line, or none when
// the line holds no more. The line state is the configuration's own: reading
// other files in between leaves it alone.
#pragma once

#include <cstdio>

#include "base/scanner.h"

class ConfigLines {
 public:
  explicit ConfigLines(std::FILE* stream) : scan_(StreamBytes(stream)) {}

  // The next name (normally the first of the next line holding one); none
  // at the end, or when the name is rejected.
  const char* firstname();
  // A further name on the line of the last name, or none.
  const char* linearg();
  bool name_rejected() const { return scan_.name_rejected(); }
  // The configuration has ended inside a block comment.
  bool comment_unclosed() const { return scan_.comment_unclosed(); }

 private:
  Scanner<StreamBytes> scan_;
};
