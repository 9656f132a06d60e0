#include "import/fonts/missing_glyph.h"

#include FT_BDF_H
#include FT_FONT_FORMATS_H

#include <cstring>

#include "base/coding.h"
#include "import/fonts/bit_rows.h"
#include "import/fonts/code_ranges.h"

namespace tralk::importer {

namespace {

constexpr uint32_t kPcfBdfEncodings = 1u << 5;  // the table of a PCF font's codes
constexpr uint32_t kPcfMsbFirst = 1u << 2;      // a table format's byte order bit
constexpr uint16_t kPcfNoGlyph = 0xFFFF;
constexpr size_t kPcfHeaderSize = 8;     // magic, table count
constexpr size_t kPcfTocEntrySize = 16;  // type, format, size, offset
constexpr size_t kPcfEncodingHead = 14;  // format, 5 two-byte fields

uint16_t u16(const uint8_t* p, bool msb_first) {
  return msb_first ? static_cast<uint16_t>(p[0] << 8 | p[1])
                   : static_cast<uint16_t>(p[1] << 8 | p[0]);
}

// The offset of the encoding table; none when the font has none or it lies
// beyond the bytes.
std::optional<size_t> encodings_table(const uint8_t* data, size_t size) {
  if (size < kPcfHeaderSize || data[0] != 1 || data[1] != 'f' || data[2] != 'c' || data[3] != 'p')
    return std::nullopt;
  const uint32_t tables = get_u32le(data + 4);
  if (tables > (size - kPcfHeaderSize) / kPcfTocEntrySize) return std::nullopt;
  for (uint32_t i = 0; i < tables; ++i) {
    const uint8_t* entry = data + kPcfHeaderSize + size_t{i} * kPcfTocEntrySize;
    const uint32_t offset = get_u32le(entry + 12);
    if (get_u32le(entry) == kPcfBdfEncodings && offset < size && size - offset >= kPcfEncodingHead)
      return offset;
  }
  return std::nullopt;
}

// The default character of the PCF font in data: the code its encoding
// table names for characters the font lacks, when the font has a glyph for
// it; none for a font that names none, or for bytes that are no PCF font.
// FreeType draws it as glyph 0 but does not say whether the font names one
// (without one, glyph 0 is a copy of the font's first glyph, a real
// character), so the table is read here.
std::optional<uint32_t> pcf_default_char(const uint8_t* data, size_t size) {
  const std::optional<size_t> at = encodings_table(data, size);
  if (!at) return std::nullopt;
  const uint8_t* t = data + *at;
  const bool msb = (get_u32le(t) & kPcfMsbFirst) != 0;
  const uint32_t first_col = u16(t + 4, msb), last_col = u16(t + 6, msb);
  const uint32_t first_row = u16(t + 8, msb), last_row = u16(t + 10, msb);
  const uint32_t code = u16(t + 12, msb);
  const uint32_t row = code >> 8, col = code & 0xFF;
  if (row < first_row || row > last_row || col < first_col || col > last_col) return std::nullopt;
  const size_t index = size_t{row - first_row} * (last_col - first_col + 1) + (col - first_col);
  if ((size - *at - kPcfEncodingHead) / 2 <= index) return std::nullopt;
  if (u16(t + kPcfEncodingHead + 2 * index, msb) == kPcfNoGlyph) return std::nullopt;
  return code;
}

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

namespace {

constexpr uint32_t kMarginFrom = 4;

void set_ink(uint8_t* row, uint32_t x, unsigned bpp) {
  const uint32_t bit = x * bpp;
  const unsigned full = (1u << bpp) - 1;
  row[bit / 8] |= static_cast<uint8_t>(full << (8 - bpp - bit % 8));
}

}  // namespace

GlyphInk draw_box(uint32_t width, const CellLayout& layout, unsigned bpp,
                  std::vector<uint8_t>& levels) {
  const uint32_t margin = width >= kMarginFrom ? 1 : 0;
  GlyphInk box;
  box.advance = static_cast<int>(width);
  box.left = static_cast<int>(margin);
  box.top = -layout.ascent;
  box.width = width - 2 * margin;
  box.height = layout.height;
  box.stride = (box.width * bpp + 7) / 8;
  box.levels_at = levels.size();
  levels.resize(levels.size() + size_t{box.stride} * box.height + kBitRowSlack);
  for (uint32_t y = 0; y < box.height; ++y) {
    uint8_t* row = levels.data() + box.levels_at + size_t{y} * box.stride;
    const bool edge = y == 0 || y + 1 == box.height;
    for (uint32_t x = 0; x < box.width; ++x)
      if (edge || x == 0 || x + 1 == box.width) set_ink(row, x, bpp);
  }
  return box;
}

}  // namespace tralk::importer
