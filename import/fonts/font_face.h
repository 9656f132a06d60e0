// One font opened for an import: its face, set to the pixel size asked for
// (a strike of a bitmap font, or an outline size) and to the charmap the
// encoding reads codes through.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/outcome.h"
#include "cli/charset.h"
#include "import/fonts/freetype_handles.h"

namespace tralk::importer {

struct FontFace {
  std::string path;
  FtFace face;
  uint32_t pixel_size = 0;  // pixels per em in use
  bool strike = false;      // a bitmap strike, not an outline size
  int ascent = 0;           // pixels above the baseline, rounded up
  int descent = 0;          // pixels below it, rounded up
};

// Opens face index of the font at path and sets it up; a failure, with a
// one-line reason, when the file cannot be opened, lacks the face, the size
// or the charmap.
Outcome<FontFace> open_font_face(FT_Library library, const std::string& path, uint32_t index,
                                 std::optional<uint32_t> size, const cli::Encoding& encoding);

// The glyph of code in the selected charmap; 0 where the font has none.
FT_UInt font_glyph(const FontFace& font, uint32_t code);

// "DejaVu Sans Book": the face's family and style, or path where the face
// names neither.
std::string face_name(FT_Face face, const std::string& path);

}  // namespace tralk::importer
