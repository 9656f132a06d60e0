// --symbols-file: the characters that a file of an application's strings
// shows, so that a font holds exactly what the application draws. The file
// is a translation catalogue (.po, .mo, .ts, XLIFF, JSON, ARB) or plain
// text, read as text/catalogue.h recognises it: only the displayed strings
// count, never keywords, keys, comments or placeholders.
#pragma once

#include <string>
#include <vector>

#include "base/outcome.h"

namespace tralk::importer {

struct SymbolsFile {
  std::string chars;               // each character once, UTF-8, in the order first shown
  std::vector<std::string> notes;  // strings the display cannot draw as they are
};

// The characters of the strings of the file at path, without control
// characters (a line break or tab is layout, never drawn). A note for each
// mark that NFC leaves beside its letter: the display draws it as a symbol
// of its own. A failure naming the file (and its line, or byte for .mo)
// when it cannot be read or is damaged.
Outcome<SymbolsFile> read_symbols_file(const std::string& path);

}  // namespace tralk::importer
