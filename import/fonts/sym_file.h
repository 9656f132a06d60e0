// The .sym file of an import, written a symbol at a time: each is packed and
// turned into text as the file is written, so that neither the symbols of a
// large font (megabytes) nor their text (five times more) are ever whole
// in memory.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/outfile.h"
#include "import/fonts/cell_layout.h"
#include "import/fonts/glyph_ink.h"
#include "import/fonts/sym_text.h"
#include "import/fonts/symbol_pack.h"

namespace tralk::importer {

struct SymFile {
  std::string path;
  std::vector<GlyphInk> glyphs;
  std::vector<uint8_t> levels;  // the glyphs' ink levels
  CellLayout layout;            // a cell per glyph
  PixelForm form;
  SymTextInfo info;
  // A note per glyph, what its symbol is, back to back in one string (a
  // string each is most of a large font's memory): note i ends at
  // note_ends[i].
  std::string notes;
  std::vector<size_t> note_ends;

  void add_note(std::string_view note) {
    notes += note;
    note_ends.push_back(notes.size());
  }
  std::string_view note(size_t i) const {
    const size_t start = i == 0 ? 0 : note_ends[i - 1];
    return std::string_view(notes).substr(start, note_ends[i] - start);
  }
};

// Writes the text of sym to out.
void write_sym_file(const SymFile& sym, OutFile& out);

}  // namespace tralk::importer
