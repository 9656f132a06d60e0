#include "import/fonts/psf_bdf.h"

#include <algorithm>
#include <set>

#include "base/text.h"

namespace tralk::importer {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void append_bitmap(std::string& out, const PsfFont& font, uint32_t glyph) {
  const uint8_t* p = font.bitmap(glyph);
  for (uint32_t y = 0; y < font.height; ++y) {
    for (uint32_t k = 0; k < font.row_bytes(); ++k, ++p) {
      out += hex_digit_upper(*p >> 4u);
      out += hex_digit_upper(*p);
    }
    out += '\n';
  }
}

void append_glyph(std::string& out, const PsfFont& font, uint32_t glyph, uint32_t code) {
  const std::string w = std::to_string(font.width);
  const std::string h = std::to_string(font.height);
  out += "STARTCHAR g" + std::to_string(glyph) + "\nENCODING " + std::to_string(code) +
         "\nSWIDTH 500 0\nDWIDTH " + w + " 0\nBBX " + w + " " + h + " 0 -" +
         std::to_string(psf_descent(font.height)) + "\nBITMAP\n";
  append_bitmap(out, font, glyph);
  out += "ENDCHAR\n";
}

// Each character once, with the first glyph the table gives it.
std::vector<PsfChar> mapped_chars(const PsfFont& font) {
  std::vector<PsfChar> chars;
  std::set<char32_t> seen;
  for (const PsfChar& pc : font.chars)
    if (seen.insert(pc.c).second) chars.push_back(pc);
  std::sort(chars.begin(), chars.end(),
            [](const PsfChar& a, const PsfChar& b) { return a.c < b.c; });
  return chars;
}

}  // namespace

std::string psf_as_bdf(const PsfFont& font, const std::string& family) {
  std::vector<PsfChar> chars;
  if (font.has_table)
    chars = mapped_chars(font);
  else
    for (uint32_t g = 0; g < font.glyphs; ++g) chars.push_back({g, g});
  const bool replacement =
      std::any_of(chars.begin(), chars.end(), [](const PsfChar& c) { return c.c == kReplacement; });
  const std::string h = std::to_string(font.height);
  const uint32_t descent = psf_descent(font.height);
  std::string name;
  for (const char c : family) name += c == '"' || static_cast<unsigned char>(c) < 0x20 ? '_' : c;
  std::string out =
      "STARTFONT 2.1\nFONT -psf-" + name + "-medium-r-normal--" + h + "-" +
      std::to_string(font.height * 10) + "-75-75-c-" + std::to_string(font.width * 10) + "-" +
      (font.has_table ? "ISO10646-1" : "PSF-glyphs") + "\nSIZE " + h + " 75 75\nFONTBOUNDINGBOX " +
      std::to_string(font.width) + " " + h + " 0 -" + std::to_string(descent) +
      "\nSTARTPROPERTIES " + std::to_string(replacement ? 8 : 7) + "\nFAMILY_NAME \"" + name +
      "\"\nPIXEL_SIZE " + h + "\nFONT_ASCENT " + std::to_string(font.height - descent) +
      "\nFONT_DESCENT " + std::to_string(descent) + "\nSPACING \"C\"\n" +
      (font.has_table ? "CHARSET_REGISTRY \"ISO10646\"\nCHARSET_ENCODING \"1\"\n"
                      : "CHARSET_REGISTRY \"PSF\"\nCHARSET_ENCODING \"glyphs\"\n") +
      (replacement ? "DEFAULT_CHAR 65533\n" : "") + "ENDPROPERTIES\nCHARS " +
      std::to_string(chars.size()) + "\n";
  out.reserve(out.size() + chars.size() * (80 + font.height * (2 * font.row_bytes() + 1)));
  for (const PsfChar& pc : chars) append_glyph(out, font, pc.glyph, pc.c);
  return out + "ENDFONT\n";
}

}  // namespace tralk::importer
