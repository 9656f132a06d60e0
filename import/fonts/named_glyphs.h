// Glyphs by name: a font's own glyph names, as FreeType reads them (a
// TrueType font's post table, a CFF font's charset, a Type 1 font's), and
// the glyphs of the icons asked for by name, found in the fonts of an
// import, each with the codepage code it goes under.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/outcome.h"
#include "import/fonts/font_face.h"
#include "import/fonts/icon_names.h"

namespace tralk::importer {

// Whether FreeType reads glyph names from the face.
bool has_glyph_names(FT_Face face);

// The glyph of that name; 0 where the face has none of it (glyph 0, the
// missing-glyph box, is never a named glyph).
FT_UInt glyph_by_name(FT_Face face, const std::string& name);

// The name of glyph index; none where the face names it not.
std::optional<std::string> glyph_name(FT_Face face, FT_UInt index);

// The names of the faces nearest to name (fewest letters to change, add or
// remove, letter case aside), nearest first, at most count of them, each
// once.
std::vector<std::string> closest_names(const std::vector<FT_Face>& faces, const std::string& name,
                                       size_t count);

struct NamedGlyph {
  std::string name;
  uint16_t code = 0;
  size_t font = 0;  // 0: the font, 1 on: the fallbacks
  FT_UInt glyph = 0;

  bool operator==(const NamedGlyph&) const = default;
};

// Each icon's glyph in fonts, the font first: the glyph of that name in the
// first font that has one, under the code given or its code in that font's
// charmap (the lowest, where it has several); for a name no font has, with
// a code given, the glyph at that code in the first font with one. In the
// order given, a name given twice alike once. A failure (Fault::not_found)
// naming the icon and what is wrong: a name no font has (with the closest
// names they have, or that no font has glyph names), no glyph at its code,
// a glyph that has no code up to 0xFFFF, a code given where the charmap
// has another named glyph (a codepoints file of another version of the
// font), a name given twice with two meanings, or two names given one code
// for two glyphs.
Outcome<std::vector<NamedGlyph>> find_named_glyphs(const std::vector<FontFace>& fonts,
                                                   const std::vector<IconName>& icons);

}  // namespace tralk::importer
