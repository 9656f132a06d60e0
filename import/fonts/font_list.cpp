#include "import/fonts/font_list.h"

#include FT_FONT_FORMATS_H

#include "base/text.h"
#include "import/fonts/font_face.h"
#include "import/fonts/named_glyphs.h"

namespace tralk::importer {

namespace {

const char* encoding_name(FT_Encoding e) {
  switch (e) {
    case FT_ENCODING_UNICODE:
      return "unicode";
    case FT_ENCODING_MS_SYMBOL:
      return "symbol";
    case FT_ENCODING_SJIS:
      return "sjis";
    case FT_ENCODING_PRC:
      return "prc";
    case FT_ENCODING_BIG5:
      return "big5";
    case FT_ENCODING_WANSUNG:
      return "wansung";
    case FT_ENCODING_JOHAB:
      return "johab";
    case FT_ENCODING_ADOBE_STANDARD:
      return "adobe standard";
    case FT_ENCODING_ADOBE_EXPERT:
      return "adobe expert";
    case FT_ENCODING_ADOBE_CUSTOM:
      return "adobe custom";
    case FT_ENCODING_ADOBE_LATIN_1:
      return "adobe latin-1";
    case FT_ENCODING_OLD_LATIN_2:
      return "old latin-2";
    case FT_ENCODING_APPLE_ROMAN:
      return "apple roman";
    case FT_ENCODING_NONE:
      break;
  }
  return "the font's own codes";
}

// One line per charmap; --encoding native reads the codes of the first.
std::string charmaps(FT_Face face) {
  if (face->num_charmaps == 0) return "  charmaps: none\n";
  std::string out;
  for (int i = 0; i < face->num_charmaps; ++i) {
    const FT_CharMap m = face->charmaps[i];
    out += "  charmap " + std::to_string(i) + ": " + encoding_name(m->encoding) + " (platform " +
           std::to_string(m->platform_id) + ", encoding " + std::to_string(m->encoding_id) + ")" +
           (i == 0 ? ", the codes of --encoding native" : "") + "\n";
  }
  return out;
}

std::string strikes(FT_Face face) {
  if (face->num_fixed_sizes == 0) return "none";
  std::string out;
  for (int i = 0; i < face->num_fixed_sizes; ++i) {
    const FT_Bitmap_Size& s = face->available_sizes[i];
    out += (i ? ", " : "") + std::to_string((s.y_ppem + 32) >> 6) + " px (height " +
           std::to_string(s.height) + ")";
  }
  return out;
}

// FreeType's name of the face's format, or the console font's that was
// handed to it as BDF.
std::string format_name(const FtFace& face) {
  if (!face.file().format.empty()) return face.file().format;
  return FT_Get_Font_Format(face.get());
}

// A console font's glyphs are its own: FreeType counts the characters of
// its Unicode table instead, which are told apart.
std::string glyphs_line(const FtFace& ft) {
  const uint32_t console = ft.file().console.glyphs;
  return std::to_string(console ? console : ft->num_glyphs) + " glyphs";
}

std::string unicode_table(const ConsoleFontCounts& console) {
  if (console.glyphs == 0) return "";
  if (!console.has_table) return "  Unicode table: none, the codes are the glyph numbers\n";
  std::string line = "  Unicode table: " + std::to_string(console.characters) + " characters";
  if (console.sequences > 0)
    line += ", " + std::to_string(console.sequences) +
            (console.sequences == 1 ? " sequence left out" : " sequences left out");
  return line + "\n";
}

std::string describe_face(long index, const FtFace& ft) {
  FT_Face face = ft.get();
  return "Face " + std::to_string(index) + ": " + face_name(face, "(no name)") + ", " +
         format_name(ft) + (FT_IS_SCALABLE(face) ? ", scalable" : ", bitmap") + ", " +
         glyphs_line(ft) + "\n  strikes: " + strikes(face) + "\n" +
         unicode_table(ft.file().console) + charmaps(face) + "  glyph names: " +
         (has_glyph_names(face) ? "yes, --names selects glyphs by them\n" : "none\n");
}

}  // namespace

Outcome<std::string> list_font(FT_Library library, const std::string& path) {
  const Outcome<std::shared_ptr<const FontFile>> file = read_font_file(path);
  if (!file.ok()) return file.failure();
  const Outcome<FtFace> first = ft_open_face(library, file.value(), 0);
  if (!first.ok())
    return Failure{first.code(), "cannot open font " + in_quotes(path) + ": " + first.error()};
  const long faces = first.value()->num_faces;
  std::string out = "Font " + in_quotes(path) + ": " + std::to_string(faces) +
                    (faces == 1 ? " face\n" : " faces\n");
  out += describe_face(0, first.value());
  for (long i = 1; i < faces; ++i) {
    const Outcome<FtFace> face = ft_open_face(library, file.value(), i);
    if (!face.ok())
      return Failure{face.code(), "cannot open face " + std::to_string(i) + " of font " +
                                      in_quotes(path) + ": " + face.error()};
    out += describe_face(i, face.value());
  }
  return out;
}

}  // namespace tralk::importer
