#include "import/fonts/psf_font.h"

#include <algorithm>
#include <set>
#include <string>

#include "base/coding.h"
#include "base/text.h"

namespace tralk::importer {

namespace {

constexpr uint8_t kPsf1Magic[2] = {0x36, 0x04};
constexpr uint8_t kPsf2Magic[4] = {0x72, 0xB5, 0x4A, 0x86};
constexpr size_t kPsf1HeaderSize = 4;
constexpr size_t kPsf2HeaderSize = 32;
constexpr uint8_t kPsf1Mode512 = 0x01;
constexpr uint8_t kPsf1ModeHasTab = 0x02;
constexpr uint8_t kPsf1ModeHasSeq = 0x04;
constexpr uint32_t kPsf2HasTable = 0x01;
constexpr uint16_t kPsf1Separator = 0xFFFF;
constexpr uint16_t kPsf1StartSeq = 0xFFFE;
constexpr uint8_t kPsf2Separator = 0xFF;
constexpr uint8_t kPsf2StartSeq = 0xFE;

Failure damaged(Fault code, const std::string& why) {
  return Failure{code, why};
}

// Takes the glyph bitmaps after the header, once their size is known to fit.
Status take_bitmaps(const uint8_t* data, size_t size, size_t at, PsfFont& font) {
  const uint64_t each = uint64_t{font.height} * font.row_bytes();
  const uint64_t all = each * font.glyphs;
  if (at > size || all > size - at)
    return damaged(Fault::cut_short, "its header claims " + std::to_string(font.glyphs) +
                                         " glyphs of " + std::to_string(each) +
                                         " bytes, more than the file's " + std::to_string(size) +
                                         " bytes hold");
  font.bitmaps.assign(data + at, data + at + all);
  return {};
}

// Adds one table entry of glyph g: a character on its own, or (in_sequence)
// one more character of a sequence, which is counted where it starts.
void add_entry(PsfFont& font, char32_t c, uint32_t g, bool in_sequence) {
  if (!in_sequence) font.chars.push_back({c, g});
}

// PSF1's table: for each glyph, 16-bit characters, then sequences each
// started by FFFE, then FFFF.
Status read_psf1_table(const uint8_t* p, const uint8_t* end, PsfFont& font) {
  for (uint32_t g = 0; g < font.glyphs; ++g) {
    bool in_sequence = false;
    for (;;) {
      if (end - p < 2)
        return damaged(Fault::cut_short,
                       "its Unicode table ends inside the entry of glyph " + std::to_string(g));
      const uint16_t v = get_u16le(p);
      p += 2;
      if (v == kPsf1Separator) break;
      if (v == kPsf1StartSeq) {
        in_sequence = true;
        ++font.sequences;
        continue;
      }
      add_entry(font, v, g, in_sequence);
    }
  }
  return {};
}

// One UTF-8 character at p, moving p past it; none for a malformed one.
bool next_utf8(const uint8_t*& p, const uint8_t* end, char32_t& c) {
  const uint8_t b = *p;
  const int extra = b < 0x80 ? 0 : b >= 0xF0 && b < 0xF8 ? 3 : b >= 0xE0 ? 2 : b >= 0xC2 ? 1 : -1;
  if (extra < 0 || end - p <= extra) return false;
  c = extra == 0 ? b : b & (0x3F >> extra);
  for (int i = 1; i <= extra; ++i) {
    if ((p[i] & 0xC0) != 0x80) return false;
    c = c << 6 | (p[i] & 0x3F);
  }
  static constexpr char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
  if (c < kLeast[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
  p += extra + 1;
  return true;
}

// PSF2's table: for each glyph, UTF-8 characters, then sequences each
// started by FE, then FF.
Status read_psf2_table(const uint8_t* p, const uint8_t* end, PsfFont& font) {
  for (uint32_t g = 0; g < font.glyphs; ++g) {
    bool in_sequence = false;
    for (;;) {
      if (p == end)
        return damaged(Fault::cut_short,
                       "its Unicode table ends inside the entry of glyph " + std::to_string(g));
      if (*p == kPsf2Separator) {
        ++p;
        break;
      }
      if (*p == kPsf2StartSeq) {
        ++p;
        in_sequence = true;
        ++font.sequences;
        continue;
      }
      char32_t c = 0;
      if (!next_utf8(p, end, c))
        return damaged(Fault::format,
                       "its Unicode table has a byte that is not UTF-8 in the "
                       "entry of glyph " +
                           std::to_string(g));
      add_entry(font, c, g, in_sequence);
    }
  }
  return {};
}

Outcome<PsfFont> read_psf1(const uint8_t* data, size_t size) {
  if (size < kPsf1HeaderSize) return damaged(Fault::cut_short, "the file ends inside its header");
  const uint8_t mode = data[2];
  PsfFont font;
  font.version = 1;
  font.width = 8;
  font.height = data[3];
  font.glyphs = mode & kPsf1Mode512 ? 512 : 256;
  font.has_table = (mode & (kPsf1ModeHasTab | kPsf1ModeHasSeq)) != 0;
  if (font.height == 0) return damaged(Fault::format, "its header claims glyphs 0 pixels high");
  if (Status taken = take_bitmaps(data, size, kPsf1HeaderSize, font); !taken.ok())
    return taken.failure();
  if (font.has_table) {
    const uint8_t* table = data + kPsf1HeaderSize + font.bitmaps.size();
    if (Status read = read_psf1_table(table, data + size, font); !read.ok()) return read.failure();
  }
  return font;
}

Outcome<PsfFont> read_psf2(const uint8_t* data, size_t size) {
  if (size < kPsf2HeaderSize) return damaged(Fault::cut_short, "the file ends inside its header");
  const uint32_t version = get_u32le(data + 4);
  const uint32_t header = get_u32le(data + 8);
  const uint32_t flags = get_u32le(data + 12);
  const uint32_t charsize = get_u32le(data + 20);
  PsfFont font;
  font.version = 2;
  font.glyphs = get_u32le(data + 16);
  font.height = get_u32le(data + 24);
  font.width = get_u32le(data + 28);
  font.has_table = (flags & kPsf2HasTable) != 0;
  if (version != 0)
    return damaged(Fault::unsupported,
                   "it is PSF2 version " + std::to_string(version) + "; only version 0 is known");
  if (header < kPsf2HeaderSize)
    return damaged(Fault::format, "its header claims to be " + std::to_string(header) +
                                      " bytes long, less than the 32 it has");
  if (font.width == 0 || font.height == 0 || font.width > kMaxPsfSide || font.height > kMaxPsfSide)
    return damaged(Fault::format, "its header claims glyphs of " + std::to_string(font.width) +
                                      " x " + std::to_string(font.height) +
                                      " pixels; a side is 1 to 1000");
  if (charsize != uint64_t{font.height} * font.row_bytes())
    return damaged(Fault::format, "its header claims glyphs of " + std::to_string(font.width) +
                                      " x " + std::to_string(font.height) + " pixels in " +
                                      std::to_string(charsize) + " bytes each");
  if (font.glyphs == 0) return damaged(Fault::format, "its header claims no glyphs");
  if (Status taken = take_bitmaps(data, size, header, font); !taken.ok()) return taken.failure();
  if (font.has_table) {
    const uint8_t* table = data + header + font.bitmaps.size();
    if (Status read = read_psf2_table(table, data + size, font); !read.ok()) return read.failure();
  }
  return font;
}

bool starts_with(const uint8_t* data, size_t size, const uint8_t* magic, size_t n) {
  if (size < n) return false;
  for (size_t i = 0; i < n; ++i)
    if (data[i] != magic[i]) return false;
  return true;
}

}  // namespace

bool is_psf(const uint8_t* data, size_t size) {
  return starts_with(data, size, kPsf1Magic, sizeof kPsf1Magic) ||
         starts_with(data, size, kPsf2Magic, sizeof kPsf2Magic);
}

Outcome<PsfFont> read_psf(const uint8_t* data, size_t size) {
  if (starts_with(data, size, kPsf2Magic, sizeof kPsf2Magic)) return read_psf2(data, size);
  if (starts_with(data, size, kPsf1Magic, sizeof kPsf1Magic)) return read_psf1(data, size);
  return damaged(Fault::unsupported, "it is no PSF font");
}

namespace {

// The rows below the baseline of a console font h pixels high: a console
// font has no baseline, and a quarter of the height is where the usual ones
// (8 x 16 with 4 rows below) have it.
uint32_t psf_descent(uint32_t height) {
  return height / 4;
}

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
