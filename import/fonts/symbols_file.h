// --symbols-file: the characters of a UTF-8 text file (a program's strings,
// say), so that a font holds exactly what the program shows.
#pragma once

#include <string>

#include "base/outcome.h"

namespace tralk::importer {

// Every character of the file at path as UTF-8 text, without its line ends,
// tabs and other control characters, and without a byte order mark at its
// start. A failure naming the file (and
// the line for text that is not UTF-8) when it cannot be read or is not
// UTF-8.
Outcome<std::string> read_symbols_file(const std::string& path);

}  // namespace tralk::importer
