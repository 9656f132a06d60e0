#include "import/fonts/font_face.h"

#include FT_BDF_H

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <utility>

#include "base/text.h"
#include "cli/arg_reader.h"
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
// for (or that of the font size_of names), or several when none was asked
// for.
Failure no_strike(const FontFace& font, std::optional<uint32_t> size, const std::string* size_of) {
  FT_Face face = font.face.get();
  if (face->num_fixed_sizes == 0)
    return Failure{Fault::unsupported,
                   "font " + in_quotes(font.path) + " has neither outlines nor strikes"};
  if (size)
    return Failure{Fault::unsupported, "font " + in_quotes(font.path) + " has no " +
                                           std::to_string(*size) + " px strike" +
                                           (size_of ? ", the size of " + in_quotes(*size_of) : "") +
                                           "; its strikes: " + strike_list(face)};
  return Failure{Fault::unsupported, "font " + in_quotes(font.path) + " has several strikes (" +
                                         strike_list(face) + "): choose one with --size PX"};
}

Status select_strike(FontFace& font, std::optional<uint32_t> size, const std::string* size_of) {
  FT_Face face = font.face.get();
  std::optional<int> strike;
  if (size)
    strike = find_strike(face, *size);
  else if (face->num_fixed_sizes == 1)
    strike = 0;
  if (!strike) return no_strike(font, size, size_of);
  const FT_Error e = FT_Select_Size(face, *strike);
  if (e != FT_Err_Ok)
    return ft_failure(e, "cannot use a strike of font " + in_quotes(font.path) + ": ");
  font.pixel_size = strike_ppem(face->available_sizes[*strike]);
  font.strike = true;
  return {};
}

Status set_size(FontFace& font, std::optional<uint32_t> size, const std::string* size_of) {
  FT_Face face = font.face.get();
  if (!FT_IS_SCALABLE(face)) {
    if (Status selected = select_strike(font, size, size_of); !selected.ok()) return selected;
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

// The glyphs of a bitmap font in an X11 set by the characters its codes
// stand for (the first glyph of a character that two codes give).
void map_through_charset(FontFace& font, const cli::FontCharset& set) {
  FT_Face face = font.face.get();
  FT_UInt glyph = 0;
  for (FT_ULong code = FT_Get_First_Char(face, &glyph); glyph != 0;
       code = FT_Get_Next_Char(face, code, &glyph))
    if (const std::optional<char32_t> c = set.to_unicode(static_cast<uint32_t>(code)))
      font.unicode_glyphs.emplace_back(*c, glyph);
  std::stable_sort(font.unicode_glyphs.begin(), font.unicode_glyphs.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  font.unicode_glyphs.erase(
      std::unique(font.unicode_glyphs.begin(), font.unicode_glyphs.end(),
                  [](const auto& a, const auto& b) { return a.first == b.first; }),
      font.unicode_glyphs.end());
}

// A font without a Unicode charmap: a BDF or PCF font in an X11 character
// set that iconv reads is selected by Unicode through it.
Status map_x11_charset(FontFace& font) {
  FT_Face face = font.face.get();
  const char* encoding = nullptr;
  const char* registry = nullptr;
  if (face->num_charmaps == 0 || FT_Get_BDF_Charset_ID(face, &encoding, &registry) != FT_Err_Ok ||
      !registry || !encoding)
    return Failure{Fault::unsupported,
                   "font " + in_quotes(font.path) +
                       " has no Unicode charmap; --encoding native reads its own codes"};
  const std::string name = std::string(registry) + "-" + encoding;
  const Outcome<cli::FontCharset> set = cli::FontCharset::open(registry, encoding);
  if (!set.ok())
    return Failure{Fault::unsupported, "font " + in_quotes(font.path) + " is in character set " +
                                           name +
                                           ", which iconv does not know; --encoding "
                                           "native reads its own codes"};
  if (FT_Set_Charmap(face, face->charmaps[0]) != FT_Err_Ok)
    return Failure{Fault::unsupported, "font " + in_quotes(font.path) + " has no charmap"};
  map_through_charset(font, set.value());
  font.charset = name;
  return {};
}

Status set_charmap(FontFace& font, const cli::Encoding& encoding) {
  FT_Face face = font.face.get();
  if (encoding.kind == cli::EncodingKind::native) {
    if (face->num_charmaps > 0 && FT_Set_Charmap(face, face->charmaps[0]) == FT_Err_Ok) return {};
    return Failure{Fault::unsupported, "font " + in_quotes(font.path) + " has no charmap"};
  }
  if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) == FT_Err_Ok) return {};
  return map_x11_charset(font);
}

// Why a face cannot be opened; for a face beyond the file's faces, how many
// it has.
Failure open_failure(FT_Library library, const std::shared_ptr<const FontFile>& file,
                     uint32_t index, const Failure& failed) {
  const std::string& path = file->path;
  if (index > 0) {
    const Outcome<FtFace> first = ft_open_face(library, file, 0);
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

FontSource parse_font_source(const std::string& text) {
  const size_t colon = text.rfind(':');
  if (colon == std::string::npos || colon == 0 || std::filesystem::exists(text)) return {text, 0};
  const std::optional<uint32_t> face = cli::parse_number(text.substr(colon + 1));
  if (!face || *face > 0xFFFF) return {text, 0};
  return {text.substr(0, colon), *face};
}

Outcome<FontFace> open_font_face(FT_Library library, const std::string& path, uint32_t index,
                                 std::optional<uint32_t> size, const cli::Encoding& encoding,
                                 const std::string* size_of) {
  Outcome<std::shared_ptr<const FontFile>> file = read_font_file(path);
  if (!file.ok()) return file.failure();
  Outcome<FtFace> face = ft_open_face(library, file.value(), index);
  if (!face.ok()) return open_failure(library, file.value(), index, face.failure());
  FontFace font;
  font.path = path;
  font.index = index;
  font.face = std::move(face.value());
  if (Status sized = set_size(font, size, size_of); !sized.ok()) return sized.failure();
  if (Status mapped = set_charmap(font, encoding); !mapped.ok()) return mapped.failure();
  return font;
}

FT_UInt font_glyph(const FontFace& font, uint32_t code) {
  if (font.charset.empty()) return FT_Get_Char_Index(font.face.get(), code);
  const auto at = std::lower_bound(font.unicode_glyphs.begin(), font.unicode_glyphs.end(), code,
                                   [](const auto& entry, uint32_t c) { return entry.first < c; });
  return at != font.unicode_glyphs.end() && at->first == code ? at->second : 0;
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
