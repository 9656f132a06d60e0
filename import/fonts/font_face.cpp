#include "import/fonts/font_face.h"

#include <cstdlib>

#include "import/fonts/glyph_ink.h"
#include "import/fonts/report_text.h"

namespace {

uint32_t strike_ppem(const FT_Bitmap_Size& s) {
  return static_cast<uint32_t>((s.y_ppem + 32) >> 6);
}

// "8, 16 px": the pixel sizes of a face's strikes.
std::string strike_list(FT_Face face) {
  std::string out;
  for (int i = 0; i < face->num_fixed_sizes; ++i)
    out += (i ? ", " : "") + std::to_string(strike_ppem(face->available_sizes[i]));
  return out + " px";
}

// The strike of size pixels per em, or, failing that, of that height.
std::optional<int> find_strike(FT_Face face, uint32_t size) {
  for (int i = 0; i < face->num_fixed_sizes; ++i)
    if (strike_ppem(face->available_sizes[i]) == size) return i;
  for (int i = 0; i < face->num_fixed_sizes; ++i)
    if (static_cast<uint32_t>(face->available_sizes[i].height) == size) return i;
  return std::nullopt;
}

bool select_strike(FontFace& font, std::optional<uint32_t> size, std::string& error) {
  FT_Face face = font.face.get();
  std::optional<int> strike;
  if (size)
    strike = find_strike(face, *size);
  else if (face->num_fixed_sizes == 1)
    strike = 0;
  if (!strike) {
    if (face->num_fixed_sizes == 0)
      error = "font " + quoted(font.path) + " has neither outlines nor strikes";
    else if (size)
      error = "font " + quoted(font.path) + " has no " + std::to_string(*size) +
              " px strike; its strikes: " + strike_list(face);
    else
      error = "font " + quoted(font.path) + " has several strikes (" + strike_list(face) +
              "): choose one with --size PX";
    return false;
  }
  const FT_Error e = FT_Select_Size(face, *strike);
  if (e != FT_Err_Ok) {
    error = "cannot use a strike of font " + quoted(font.path) + ": " + ft_error_text(e);
    return false;
  }
  font.pixel_size = strike_ppem(face->available_sizes[*strike]);
  font.strike = true;
  return true;
}

bool set_size(FontFace& font, std::optional<uint32_t> size, std::string& error) {
  FT_Face face = font.face.get();
  if (!FT_IS_SCALABLE(face)) {
    if (!select_strike(font, size, error)) return false;
  } else if (!size) {
    error = "font " + quoted(font.path) + " is scalable: give its size with --size PX";
    return false;
  } else {
    const FT_Error e = FT_Set_Pixel_Sizes(face, 0, *size);
    if (e != FT_Err_Ok) {
      error = "cannot set font " + quoted(font.path) + " to " + std::to_string(*size) +
              " px: " + ft_error_text(e);
      return false;
    }
    font.pixel_size = *size;
  }
  const FT_Size_Metrics& m = face->size->metrics;
  const int64_t ascent = (int64_t{m.ascender} + 63) >> 6;
  const int64_t descent = (-int64_t{m.descender} + 63) >> 6;
  const int64_t limit = glyph_side_limit(font.pixel_size);
  if (std::abs(ascent) > limit || std::abs(descent) > limit) {
    error = "font " + quoted(font.path) + " claims an ascent of " + std::to_string(ascent) +
            " and a descent of " + std::to_string(descent) + " pixels at " +
            std::to_string(font.pixel_size) + " px (a damaged font?)";
    return false;
  }
  font.ascent = static_cast<int>(ascent);
  font.descent = static_cast<int>(descent);
  return true;
}

bool set_charmap(FontFace& font, const Encoding& encoding, std::string& error) {
  FT_Face face = font.face.get();
  if (encoding.kind == EncodingKind::native) {
    if (face->num_charmaps > 0 && FT_Set_Charmap(face, face->charmaps[0]) == FT_Err_Ok) return true;
    error = "font " + quoted(font.path) + " has no charmap";
    return false;
  }
  if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) == FT_Err_Ok) return true;
  error = "font " + quoted(font.path) +
          " has no Unicode charmap; --encoding native reads its own codes";
  return false;
}

// The reason a face cannot be opened; for a face beyond the file's faces,
// how many it has.
std::string open_failure(FT_Library library, const std::string& path, uint32_t index,
                         const std::string& reason) {
  std::string ignored;
  if (index > 0) {
    const FtFace first = ft_open_face(library, path, 0, ignored);
    if (first && index >= static_cast<uint64_t>(first->num_faces))
      return "font " + quoted(path) + " has " + std::to_string(first->num_faces) +
             (first->num_faces == 1 ? " face" : " faces") + ": there is no face " +
             std::to_string(index);
  }
  return "cannot open font " + quoted(path) + ": " + reason;
}

}  // namespace

bool open_font_face(FT_Library library, const std::string& path, uint32_t index,
                    std::optional<uint32_t> size, const Encoding& encoding, FontFace& out,
                    std::string& error) {
  out = FontFace{};
  out.path = path;
  out.face = ft_open_face(library, path, index, error);
  if (!out.face) {
    error = open_failure(library, path, index, error);
    return false;
  }
  return set_size(out, size, error) && set_charmap(out, encoding, error);
}

FT_UInt font_glyph(const FontFace& font, uint32_t code) {
  return FT_Get_Char_Index(font.face.get(), code);
}

std::string face_name(FT_Face face, const std::string& path) {
  std::string name = face->family_name ? face->family_name : "";
  if (face->style_name && *face->style_name) {
    if (!name.empty()) name += ' ';
    name += face->style_name;
  }
  return name.empty() ? path : name;
}
