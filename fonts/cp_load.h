// Reader of codepage files (.cp).
#pragma once

#include <memory>

#include "fonts/symfont.h"

// Reads the .cp file at path; on failure prints its messages followed by
// " in .cp file \"path\"" and returns none.
std::unique_ptr<CPTABLE> cp_load(const char* path);
