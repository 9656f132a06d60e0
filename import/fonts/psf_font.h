// Console fonts in the PC Screen Font formats, PSF1 and PSF2: a header, the
// glyph bitmaps (rows of whole bytes, leftmost pixel in the top bit), and an
// optional Unicode table giving each glyph its characters and character
// sequences. Every size the header claims is checked against the bytes at
// hand before anything is allocated for it.
//
// A console font is handed to FreeType as the BDF font it is equivalent to,
// so that its glyphs take the one path every other font's take: each glyph
// a character of its Unicode table maps to, at that character's code (a
// glyph of several characters once for each), or, without a table, every
// glyph at its own number.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/outcome.h"

namespace tralk::importer {

// The largest glyph side taken, in pixels: the importer's largest size.
constexpr uint32_t kMaxPsfSide = 1000;

struct PsfChar {
  char32_t c = 0;
  uint32_t glyph = 0;

  bool operator==(const PsfChar&) const = default;
};

struct PsfFont {
  unsigned version = 0;  // 1 or 2
  uint32_t width = 0;
  uint32_t height = 0;
  uint32_t glyphs = 0;
  std::vector<uint8_t> bitmaps;  // glyphs x height rows of row_bytes()
  bool has_table = false;
  // The single characters of the Unicode table, in its order. A sequence (a
  // character with combining marks) is no single character: it is counted,
  // not mapped.
  std::vector<PsfChar> chars;
  size_t sequences = 0;

  uint32_t row_bytes() const { return (width + 7) / 8; }
  const uint8_t* bitmap(uint32_t glyph) const {
    return bitmaps.data() + size_t{glyph} * height * row_bytes();
  }
};

// Whether the bytes start with the magic number of PSF1 (36 04) or PSF2
// (72 B5 4A 86).
bool is_psf(const uint8_t* data, size_t size);

// Reads a PSF1 or PSF2 font. A failure, with the reason, for a header whose
// sizes the file cannot hold (Fault::cut_short) or that no font has, or a
// Unicode table that is not one (Fault::format).
Outcome<PsfFont> read_psf(const uint8_t* data, size_t size);

// The BDF text of font, named family. Its default character is U+FFFD where
// the table maps a glyph to it: a console font has no other.
std::string psf_as_bdf(const PsfFont& font, const std::string& family);

}  // namespace tralk::importer
