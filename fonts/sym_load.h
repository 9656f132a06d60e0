// Reader of symbol font files (.sym).
#pragma once

#include <optional>
#include <string>

#include "base/outcome.h"
#include "fonts/symfont.h"
#include "fonts/textscan.h"

// A .sym file as read: its font, and the names its first line gives.
struct SymLoaded {
  SymFontPtr font;                     // without its codepage
  std::optional<std::string> cpname;   // "CP<name>": the codepage, read from beside the file
  std::optional<std::string> palname;  // "PAL<name>"
};

// Reads the bytes of a .sym file. A failure is Fault::format, at the symbol
// that could not be read (at.item, counting from 0: the symbols before it
// are whole) and the line where that was found (at.line), or
// Fault::too_large when memory runs out.
Outcome<SymLoaded> sym_load(TextBytes text);
