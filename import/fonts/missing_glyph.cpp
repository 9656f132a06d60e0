#include "import/fonts/missing_glyph.h"

#include FT_BDF_H
#include FT_FONT_FORMATS_H

#include <cstring>

#include "import/fonts/code_ranges.h"
#include "import/fonts/pcf_default.h"

namespace tralk::importer {

namespace {

// The code of a BDF font's DEFAULT_CHAR property, or a PCF font's.
std::optional<uint32_t> declared_default(const FontFace& font) {
  FT_Face face = font.face.get();
  BDF_PropertyRec p;
  if (FT_Get_BDF_Property(face, "DEFAULT_CHAR", &p) == FT_Err_Ok) {
    std::optional<uint32_t> code;
    if (p.type == BDF_PROPERTY_TYPE_INTEGER && p.u.integer >= 0)
      code = static_cast<uint32_t>(p.u.integer);
    if (p.type == BDF_PROPERTY_TYPE_CARDINAL) code = p.u.cardinal;
    // The charmap in use has the font's own codes (BDF fonts in Unicode or
    // Latin-1 too): a code it lacks leaves glyph 0 a copy of the first glyph.
    if (code && FT_Get_Char_Index(face, *code) != 0) return code;
    return std::nullopt;
  }
  if (std::strcmp(FT_Get_Font_Format(face), "PCF") == 0)
    return pcf_default_char(font.face.file().plain_data(), font.face.file().plain_size());
  return std::nullopt;
}

bool is_bitmap_format(FT_Face face) {
  const char* format = FT_Get_Font_Format(face);
  return std::strcmp(format, "BDF") == 0 || std::strcmp(format, "PCF") == 0;
}

}  // namespace

std::optional<MissingGlyph> missing_glyph(const FontFace& font) {
  FT_Face face = font.face.get();
  if (!is_bitmap_format(face)) {
    if (face->num_glyphs <= 0) return std::nullopt;
    return MissingGlyph{0, "missing-glyph box (glyph 0)"};
  }
  // FreeType draws the default character as glyph 0, when the font names
  // one that it has.
  const std::optional<uint32_t> code = declared_default(font);
  if (!code) return std::nullopt;
  return MissingGlyph{0, "default character " + hex4(*code)};
}

}  // namespace tralk::importer
