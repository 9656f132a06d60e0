// The floor of a font import: a bare FreeType loop that opens the font,
// sets its size, and loads and renders every glyph of a range of codes with
// the flags the importer uses (hinting for monochrome output at 1 bit per
// pixel, FreeType's normal hinting and anti-aliasing otherwise). Nothing is
// kept or written. tralk_importbench times each import against it.
//
//   tralk_ft_floor FONT FACE SIZE BPP FIRST LAST
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdio>
#include <cstdlib>

namespace {

// The strike of size pixels per em, or -1.
int strike_of(FT_Face face, long size) {
  for (int i = 0; i < face->num_fixed_sizes; ++i)
    if ((face->available_sizes[i].y_ppem + 32) >> 6 == size) return i;
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 7) {
    std::fprintf(stderr, "usage: tralk_ft_floor FONT FACE SIZE BPP FIRST LAST\n");
    return 2;
  }
  const long face_index = std::strtol(argv[2], nullptr, 0);
  const long size = std::strtol(argv[3], nullptr, 0);
  const long bpp = std::strtol(argv[4], nullptr, 0);
  const unsigned long first = std::strtoul(argv[5], nullptr, 0);
  const unsigned long last = std::strtoul(argv[6], nullptr, 0);
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  if (FT_Init_FreeType(&library) || FT_New_Face(library, argv[1], face_index, &face)) {
    std::fprintf(stderr, "tralk_ft_floor: cannot open %s\n", argv[1]);
    return 1;
  }
  const int strike = FT_IS_SCALABLE(face) ? -1 : strike_of(face, size);
  if (strike >= 0 ? FT_Select_Size(face, strike) : FT_Set_Pixel_Sizes(face, 0, size)) {
    std::fprintf(stderr, "tralk_ft_floor: no %ld px size in %s\n", size, argv[1]);
    return 1;
  }
  FT_Select_Charmap(face, FT_ENCODING_UNICODE);
  const FT_Int32 load = bpp == 1 ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_NORMAL;
  const FT_Render_Mode mode = bpp == 1 ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL;
  unsigned long glyphs = 0, pixels = 0;
  for (unsigned long code = first; code <= last; ++code) {
    const FT_UInt index = FT_Get_Char_Index(face, code);
    if (index == 0 || FT_Load_Glyph(face, index, load) || FT_Render_Glyph(face->glyph, mode))
      continue;
    ++glyphs;
    pixels += face->glyph->bitmap.width * face->glyph->bitmap.rows;
  }
  std::printf("%lu glyphs, %lu pixels\n", glyphs, pixels);
  FT_Done_Face(face);
  FT_Done_FreeType(library);
  return 0;
}
