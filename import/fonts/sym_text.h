// The text of a .sym file: a first line naming the codepage, comment lines
// saying where the font came from, then one line per symbol with its header
// ({width,height} for b&w, {0,bits,width,height} for grey levels), its pixel
// bytes and a comment naming its character. A large font's text is
// megabytes, so it goes to its file a piece at a time as it is made: each
// symbol is packed and turned into text as the file is written, so that
// neither the symbols of a large font nor their text (five times more) are
// ever whole in memory.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/outfile.h"
#include "base/page_alloc.h"
#include "import/fonts/cell_layout.h"
#include "import/fonts/glyph_ink.h"
#include "import/fonts/symbol_pack.h"

namespace tralk::importer {

struct SymTextInfo {
  std::string cp_name;                // empty: no codepage
  std::vector<std::string> comments;  // lines after the first, without "// "
};

// A piece of text of at most 16 characters, stored 16 at once where a line
// is made.
struct ShortText {
  std::array<char, 16> chars{};
  size_t size = 0;

  explicit ShortText(std::string_view s) : size(std::min(s.size(), chars.size())) {
    std::copy_n(s.begin(), size, chars.begin());
  }
};

class SymTextWriter {
 public:
  // Writes the first lines to out, for symbols of bpp bits per pixel and
  // height rows.
  SymTextWriter(OutFile& out, const SymTextInfo& info, unsigned bpp, uint32_t height);
  // Adds the line of a symbol width pixels wide with pixel bytes bytes, and
  // note after them.
  void add(uint32_t width, std::span<const uint8_t> bytes, std::string_view note);
  // Writes the lines not written yet.
  void finish();

 private:
  void grow(size_t size);
  void flush();

  OutFile& out_;
  ShortText header_start_;  // "{{" or "{{0,BITS,"
  ShortText header_end_;    // ",HEIGHT},{"
  // Lines not written yet, the first used_ bytes, in a block filled again
  // and again (never cleared: only what is written of it is touched).
  ByteBlock text_;
  size_t used_ = 0;
};

// The .sym file of an import.
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
