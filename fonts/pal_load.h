// Palettes and the reader of palette files (.pal).
#pragma once

#include <cstdint>
#include <string>

#include "base/palette.h"

// Reads the .pal file at path (at most its first 256 entries). On success
// stores the C identifier of the file's base name through name_out and the
// entry count through count_out, where given. On failure prints its messages
// followed by " in pal file \"path\"", writes neither output and returns none.
PalTablePtr pal_load(const char* path, std::string* name_out, uint32_t* count_out);
