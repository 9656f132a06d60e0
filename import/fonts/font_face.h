// One font opened for an import: its face, set to the pixel size asked for
// (a strike of a bitmap font, or an outline size) and to the charmap the
// encoding reads codes through.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/outcome.h"
#include "cli/charset.h"
#include "import/fonts/freetype_handles.h"

namespace tralk::importer {

struct FontFace {
  std::string path;
  uint32_t index = 0;  // of the face in its file
  FtFace face;
  uint32_t pixel_size = 0;  // pixels per em in use
  bool strike = false;      // a bitmap strike, not an outline size
  int ascent = 0;           // pixels above the baseline, rounded up
  int descent = 0;          // pixels below it, rounded up
  // A bitmap font in an X11 character set that is not Unicode, selected by
  // Unicode all the same: the set's name, and its characters' glyphs,
  // ascending by character, as iconv reads the font's codes.
  std::string charset;
  std::vector<std::pair<uint32_t, FT_UInt>> unicode_glyphs;
};

// A font named on the command line: FILE, or FILE:FACE for a face of a
// collection (a file whose whole name it is is taken as FILE).
struct FontSource {
  std::string path;
  uint32_t face = 0;
};
FontSource parse_font_source(const std::string& text);

// Opens face index of the font at path and sets it up; a failure, with a
// one-line reason, when the file cannot be opened, lacks the face, the size
// or the charmap. size_of names the font whose size a fallback takes, for
// the message of a strike it lacks; null where the size was asked for.
Outcome<FontFace> open_font_face(FT_Library library, const std::string& path, uint32_t index,
                                 std::optional<uint32_t> size, const cli::Encoding& encoding,
                                 const std::string* size_of = nullptr);

// The glyph of code in the selected charmap (or, for a font in an X11 set,
// of the character code); 0 where the font has none.
FT_UInt font_glyph(const FontFace& font, uint32_t code);

// "DejaVu Sans Book": the face's family and style, or path where the face
// names neither.
std::string face_name(FT_Face face, const std::string& path);

}  // namespace tralk::importer
