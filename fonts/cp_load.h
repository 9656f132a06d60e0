// Reader of codepage files (.cp).
#pragma once

#include "base/cptable.h"
#include "base/outcome.h"
#include "fonts/textscan.h"

// Reads the bytes of a .cp file. A failure is Fault::format, at the line
// where the table broke off (at.line), or Fault::too_large when memory runs
// out.
Outcome<CPTABLE> cp_load(TextBytes text);
