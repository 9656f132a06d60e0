// Palettes and the reader of palette files (.pal).
#pragma once

#include "base/outcome.h"
#include "base/palette.h"
#include "fonts/textscan.h"

// Reads the bytes of a .pal file (at most its first 256 entries). A failure
// is Fault::format, at the line where the list broke off (at.line), or
// Fault::too_large when memory runs out.
Outcome<PALTABLE> pal_load(TextBytes text);
