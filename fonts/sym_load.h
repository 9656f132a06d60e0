// Reader of symbol font files (.sym).
#pragma once

#include <optional>
#include <string>

#include "fonts/symfont.h"

// Reads the .sym file at path into a new font, loading the codepage its first
// line names ("CP<name>") from the .sym file's directory. When palname_out is
// given the first line is also searched for "PAL<name>". On failure prints
// its messages followed by " in sym file \"path\"", sets the given outputs to
// none and returns none. A null path returns none without a message.
SymFontPtr sym_load(const char* path, std::optional<std::string>* cpname_out = nullptr,
                    std::optional<std::string>* palname_out = nullptr);
