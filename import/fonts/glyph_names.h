// A font's own glyph names, as FreeType reads them (a TrueType font's post
// table, a CFF font's charset, a Type 1 font's): looking glyphs up by them,
// and the names nearest to one a font lacks.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "import/fonts/freetype_handles.h"

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

}  // namespace tralk::importer
