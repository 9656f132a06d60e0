#include "import/fonts/font_face.h"

#include <cstdlib>
#include <utility>

#include "base/text.h"
#include "import/fonts/glyph_ink.h"

namespace tralk::importer {

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

// Why no strike of the font can be used: it has none, not the one asked
// for, or several when none was asked for.
Failure no_strike(const FontFace& font, std::optional<uint32_t> size) {
  FT_Face face = font.face.get();
  if (face->num_fixed_sizes == 0)
    return Failure{Fault::unsupported,
                   "font " + in_quotes(font.path) + " has neither outlines nor strikes"};
  if (size)
    return Failure{Fault::unsupported, "font " + in_quotes(font.path) + " has no " +
                                           std::to_string(*size) +
                                           " px strike; its strikes: " + strike_list(face)};
  return Failure{Fault::unsupported, "font " + in_quotes(font.path) + " has several strikes (" +
                                         strike_list(face) + "): choose one with --size PX"};
}

Status select_strike(FontFace& font, std::optional<uint32_t> size) {
  FT_Face face = font.face.get();
  std::optional<int> strike;
  if (size)
    strike = find_strike(face, *size);
  else if (face->num_fixed_sizes == 1)
    strike = 0;
  if (!strike) return no_strike(font, size);
  const FT_Error e = FT_Select_Size(face, *strike);
  if (e != FT_Err_Ok)
    return ft_failure(e, "cannot use a strike of font " + in_quotes(font.path) + ": ");
  font.pixel_size = strike_ppem(face->available_sizes[*strike]);
  font.strike = true;
  return {};
}

Status set_size(FontFace& font, std::optional<uint32_t> size) {
  FT_Face face = font.face.get();
  if (!FT_IS_SCALABLE(face)) {
    if (Status selected = select_strike(font, size); !selected.ok()) return selected;
  } else if (!size) {
    return Failure{Fault::unsupported,
                   "font " + in_quotes(font.path) + " is scalable: give its size with --size PX"};
  } else {
    const FT_Error e = FT_Set_Pixel_Sizes(face, 0, *size);
    if (e != FT_Err_Ok)
      return ft_failure(
          e, "cannot set font " + in_quotes(font.path) + " to " + std::to_string(*size) + " px: ");
    font.pixel_size = *size;
  }
  const FT_Size_Metrics& m = face->size->metrics;
  const int64_t ascent = (int64_t{m.ascender} + 63) >> 6;
  const int64_t descent = (-int64_t{m.descender} + 63) >> 6;
  const int64_t limit = glyph_side_limit(font.pixel_size);
  if (std::abs(ascent) > limit || std::abs(descent) > limit)
    return Failure{Fault::format, "font " + in_quotes(font.path) + " claims an ascent of " +
                                      std::to_string(ascent) + " and a descent of " +
                                      std::to_string(descent) + " pixels at " +
                                      std::to_string(font.pixel_size) + " px (a damaged font?)"};
  font.ascent = static_cast<int>(ascent);
  font.descent = static_cast<int>(descent);
  return {};
}

Status set_charmap(FontFace& font, const cli::Encoding& encoding) {
  FT_Face face = font.face.get();
  if (encoding.kind == cli::EncodingKind::native) {
    if (face->num_charmaps > 0 && FT_Set_Charmap(face, face->charmaps[0]) == FT_Err_Ok) return {};
    return Failure{Fault::unsupported, "font " + in_quotes(font.path) + " has no charmap"};
  }
  if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) == FT_Err_Ok) return {};
  return Failure{Fault::unsupported,
                 "font " + in_quotes(font.path) +
                     " has no Unicode charmap; --encoding native reads its own codes"};
}

// Why a face cannot be opened; for a face beyond the file's faces, how many
// it has.
Failure open_failure(FT_Library library, const std::string& path, uint32_t index,
                     const Failure& failed) {
  if (index > 0) {
    const Outcome<FtFace> first = ft_open_face(library, path, 0);
    if (first.ok() && index >= static_cast<uint64_t>(first.value()->num_faces)) {
      const long faces = first.value()->num_faces;
      return Failure{Fault::not_found, "font " + in_quotes(path) + " has " + std::to_string(faces) +
                                           (faces == 1 ? " face" : " faces") +
                                           ": there is no face " + std::to_string(index)};
    }
  }
  return Failure{failed.code, "cannot open font " + in_quotes(path) + ": " + failed.text};
}

}  // namespace

Outcome<FontFace> open_font_face(FT_Library library, const std::string& path, uint32_t index,
                                 std::optional<uint32_t> size, const cli::Encoding& encoding) {
  Outcome<FtFace> face = ft_open_face(library, path, index);
  if (!face.ok()) return open_failure(library, path, index, face.failure());
  FontFace font;
  font.path = path;
  font.face = std::move(face.value());
  if (Status sized = set_size(font, size); !sized.ok()) return sized.failure();
  if (Status mapped = set_charmap(font, encoding); !mapped.ok()) return mapped.failure();
  return font;
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

}  // namespace tralk::importer
