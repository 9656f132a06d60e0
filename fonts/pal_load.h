// Palettes and the reader of palette files (.pal).
#pragma once

#include <cstdint>
#include <string>

#include "base/outcome.h"
#include "base/palette.h"

// Reads the .pal file at path (at most its first 256 entries), printing
// nothing: its entries, or a failure whose text is the word tralk prints for
// it, "Open error" (Fault::io), "Syntax error" (Fault::format) or "Heap
// error" (Fault::too_large).
Outcome<PALTABLE> pal_read(const char* path);

// Reads the .pal file at path (at most its first 256 entries). On success
// stores the C identifier of the file's base name through name_out and the
// entry count through count_out, where given. On failure prints its messages
// followed by " in pal file \"path\"", writes neither output and returns none.
PalTablePtr pal_load(const char* path, std::string* name_out, uint32_t* count_out);
