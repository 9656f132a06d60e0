// The work of "tralk-import font" between its command line and its files:
// opens the fonts, finds a glyph for every code asked for, renders and lays
// out the glyphs, and composes the .sym and .cp files. Nothing is printed
// and nothing written here.
#pragma once

#include <string>
#include <vector>

#include "base/file_set.h"
#include "base/outcome.h"
#include "import/fonts/font_options.h"
#include "import/fonts/freetype_handles.h"
#include "import/fonts/sym_text.h"

namespace tralk::importer {

struct ImportResult {
  std::vector<std::string> report;    // lines that describe what was read and made
  std::vector<std::string> warnings;  // codes skipped, glyphs clipped
  SymFile sym;                        // the .sym file
  std::vector<PendingFile> files;     // the .cp file unless --no-cp, the --names-header file
};

// Imports as opts say (opts.list must be unset). A failure has a one-line
// reason: Fault::usage where the options ask for codes that cannot be had
// (a character the encoding lacks, a code selected twice, a bad
// --defchar), another code where a font cannot be used or the result
// cannot be a .sym font.
Outcome<ImportResult> import_font(FT_Library library, const FontOptions& opts);

}  // namespace tralk::importer
