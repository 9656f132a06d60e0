// A console font handed to FreeType as the BDF font it is equivalent to, so
// that its glyphs take the one path every other font's take: each glyph a
// character of its Unicode table maps to, at that character's code (a glyph
// of several characters once for each), or, without a table, every glyph at
// its own number.
#pragma once

#include <string>

#include "import/fonts/psf_font.h"

namespace tralk::importer {

// The rows below the baseline of a console font h pixels high: a console
// font has no baseline, and a quarter of the height is where the usual ones
// (8 x 16 with 4 rows below) have it.
inline uint32_t psf_descent(uint32_t height) {
  return height / 4;
}

// The BDF text of font, named family. Its default character is U+FFFD where
// the table maps a glyph to it: a console font has no other.
std::string psf_as_bdf(const PsfFont& font, const std::string& family);

}  // namespace tralk::importer
