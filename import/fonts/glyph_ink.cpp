#include "import/fonts/glyph_ink.h"

#include FT_BITMAP_H
#include FT_OUTLINE_H

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace tralk::importer {

namespace {

// An FT_Bitmap that this program allocated through FreeType.
class OwnedBitmap {
 public:
  explicit OwnedBitmap(FT_Library library) : library_(library) { FT_Bitmap_Init(&bitmap_); }
  ~OwnedBitmap() { FT_Bitmap_Done(library_, &bitmap_); }
  OwnedBitmap(const OwnedBitmap&) = delete;
  OwnedBitmap& operator=(const OwnedBitmap&) = delete;
  FT_Bitmap* get() { return &bitmap_; }

 private:
  FT_Library library_;
  FT_Bitmap bitmap_;
};

// The load flags of a hinting choice, as FreeType documents them: hinting
// for monochrome output when the result is b&w.
FT_Int32 load_flags(const RenderSettings& s) {
  switch (s.hinting) {
    case Hinting::native:
      return s.bpp == 1 ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_NORMAL;
    case Hinting::light:
      return FT_LOAD_TARGET_LIGHT;
    case Hinting::none:
      break;
  }
  return FT_LOAD_NO_HINTING;
}

FT_Render_Mode render_mode(const RenderSettings& s) {
  return s.bpp == 1 ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL;
}

// Start of row y (top row 0) of a bitmap, whichever way it flows: the
// pitch goes down a row.
const uint8_t* bitmap_row(const FT_Bitmap& b, unsigned y) {
  const uint8_t* top =
      b.pitch >= 0 ? b.buffer : b.buffer + size_t{b.rows - 1} * static_cast<unsigned>(-b.pitch);
  return top + static_cast<ptrdiff_t>(y) * b.pitch;
}

// The ink level of each coverage value 0 to 255 of a bitmap of num_grays
// values, and the least coverage whose level is not blank (256 for none):
// the levels grow with the coverage.
struct Levels {
  std::array<uint8_t, 256> of{};
  unsigned least_inked = 256;
};

// The levels of a bitmap. Every glyph of a font has the same num_grays, so
// the table of the last one is kept: 256 divisions a glyph cost more than
// the glyph's pixels.
const Levels& level_table(const FT_Bitmap& b, unsigned bpp) {
  struct Cached {
    unsigned num_grays = 0, bpp = 0;
    Levels levels;
  };
  static thread_local Cached cached;
  if (cached.num_grays == b.num_grays && cached.bpp == bpp) return cached.levels;
  const uint32_t max_coverage = b.num_grays > 1 ? b.num_grays - 1u : 1u;
  const uint32_t max_level = (1u << bpp) - 1;
  Levels& levels = cached.levels;
  levels.least_inked = 256;
  for (uint32_t c = 0; c < levels.of.size(); ++c) {
    levels.of[c] = static_cast<uint8_t>(
        std::min(coverage_level(std::min(c, max_coverage), max_coverage, max_level), max_level));
    if (levels.of[c] != 0) levels.least_inked = std::min(levels.least_inked, c);
  }
  cached.num_grays = b.num_grays;
  cached.bpp = bpp;
  return levels;
}

struct Box {
  unsigned x0, y0, x1, y1;  // x1, y1 past the last inked column and row
};

bool empty(const Box& box) {
  return box.x1 == 0;
}

// Places the ink box of a bitmap placed at (left, top) relative to the
// origin and baseline.
void place_ink(const Box& box, int left, int top, GlyphInk& out) {
  out.left = left + static_cast<int>(box.x0);
  out.top = top + static_cast<int>(box.y0);
  out.width = box.x1 - box.x0;
  out.height = box.y1 - box.y0;
}

// The box of the pixels of an 8-bit bitmap whose level is not blank: the
// rows that have any, and the columns of every row ORed together. Every
// pixel is looked at, without a branch: a scan that stops at the first ink
// of each row costs a mispredicted branch or two a row.
Box grey_ink_box(const FT_Bitmap& b, unsigned least_inked) {
  static thread_local std::vector<uint8_t> columns;
  columns.assign(b.width, 0);
  // In locals: stores to the columns could change anything else, as far as
  // the compiler knows.
  uint8_t* const inked_columns = columns.data();
  const unsigned width = b.width, rows = b.rows;
  Box box{width, rows, 0, 0};
  for (unsigned y = 0; y < rows; ++y) {
    const uint8_t* row = bitmap_row(b, y);
    uint8_t any = 0;
    for (unsigned x = 0; x < width; ++x) {
      const uint8_t inked = row[x] >= least_inked;
      inked_columns[x] |= inked;
      any |= inked;
    }
    if (any == 0) continue;
    box.y0 = std::min(box.y0, y);
    box.y1 = y + 1;
  }
  if (box.y1 == 0) return box;
  unsigned x0 = 0, x1 = width;
  while (inked_columns[x0] == 0) ++x0;
  while (inked_columns[x1 - 1] == 0) --x1;
  box.x0 = x0;
  box.x1 = x1;
  return box;
}

// Room for a glyph's rows at the end of the block levels, with the slack
// after them; where they start.
uint8_t* add_rows(std::vector<uint8_t>& levels, size_t bytes, GlyphInk& out) {
  out.levels_at = levels.size();
  levels.resize(levels.size() + bytes + kBitRowSlack);
  return levels.data() + out.levels_at;
}

// Packs the levels of width coverage values of row at Bpp bits each into
// to, a whole byte at a time.
template <unsigned Bpp>
void pack_levels(const uint8_t* row, unsigned width, const std::array<uint8_t, 256>& table,
                 uint8_t* to) {
  constexpr unsigned kPerByte = 8 / Bpp;
  unsigned x = 0;
  for (; x + kPerByte <= width; x += kPerByte) {
    unsigned byte = 0;
    for (unsigned k = 0; k < kPerByte; ++k) byte = byte << Bpp | table[row[x + k]];
    *to++ = static_cast<uint8_t>(byte);
  }
  if (x == width) return;
  unsigned byte = 0, k = 0;
  for (; x < width; ++x, ++k) byte = byte << Bpp | table[row[x]];
  *to = static_cast<uint8_t>(byte << (8 - k * Bpp));
}

// Keeps the levels of the ink box of an 8-bit bitmap, packed at bpp bits.
void keep_grey_ink(const FT_Bitmap& b, int left, int top, unsigned bpp, GlyphInk& out,
                   std::vector<uint8_t>& levels) {
  const Levels& levels_of = level_table(b, bpp);
  const std::array<uint8_t, 256>& table = levels_of.of;
  const Box box = grey_ink_box(b, levels_of.least_inked);
  if (empty(box)) return;
  place_ink(box, left, top, out);
  out.stride = static_cast<uint32_t>((uint64_t{out.width} * bpp + 7) / 8);
  uint8_t* to = add_rows(levels, size_t{out.stride} * out.height, out);
  const auto pack = bpp == 1   ? pack_levels<1>
                    : bpp == 2 ? pack_levels<2>
                    : bpp == 4 ? pack_levels<4>
                               : pack_levels<8>;
  for (unsigned y = box.y0; y < box.y1; ++y, to += out.stride)
    pack(bitmap_row(b, y) + box.x0, out.width, table, to);
}

// Copies the rows of a 1-bit bitmap of at most 64 pixels a row to to, stride
// bytes each with kBitRowSlack bytes of room after them, and finds the box
// of their set bits. A row is a word: read, cleared past its last pixel
// (FreeType does not promise to clear those bits), stored (the next row's
// word overwrites the rest) and ORed into the columns in one pass.
Box copy_narrow_rows(const FT_Bitmap& b, unsigned stride, uint8_t* to) {
  const uint64_t mask = ~uint64_t{0} << (64 - b.width);
  const uint8_t* end = b.buffer + size_t{b.rows} * static_cast<unsigned>(std::abs(b.pitch));
  const uint8_t* row = bitmap_row(b, 0);
  uint64_t columns = 0;
  Box box{0, b.rows, 0, 0};
  for (unsigned y = 0; y < b.rows; ++y, row += b.pitch, to += stride) {
    uint64_t bits;
    if (end - row >= 8) {
      bits = load_big_endian(row);
    } else {
      uint8_t last[8] = {};
      std::memcpy(last, row, stride);
      bits = load_big_endian(last);
    }
    bits &= mask;
    store_big_endian(to, bits);
    columns |= bits;
    if (bits == 0) continue;
    box.y0 = std::min(box.y0, y);
    box.y1 = y + 1;
  }
  if (columns == 0) return {0, 0, 0, 0};
  box.x0 = static_cast<unsigned>(std::countl_zero(columns));
  box.x1 = 64 - static_cast<unsigned>(std::countr_zero(columns));
  return box;
}

// The same for wider rows: copied whole, then the box of the set bits found
// 64 columns at a time.
Box copy_wide_rows(const FT_Bitmap& b, unsigned stride, uint8_t* to) {
  for (unsigned y = 0; y < b.rows; ++y)
    std::memcpy(to + size_t{y} * stride, bitmap_row(b, y), stride);
  static thread_local std::vector<uint64_t> columns;
  const unsigned words = (b.width + 63) / 64;
  columns.assign(words, 0);
  const uint64_t last_mask = ~uint64_t{0} << (63 - (b.width - 1) % 64);
  Box box{0, b.rows, 0, 0};
  for (unsigned y = 0; y < b.rows; ++y) {
    const uint8_t* row = to + size_t{y} * stride;
    uint64_t any = 0;
    for (unsigned w = 0; w < words; ++w) {
      const uint64_t bits =
          load_big_endian(row + 8 * w) & (w + 1 < words ? ~uint64_t{0} : last_mask);
      columns[w] |= bits;
      any |= bits;
    }
    if (any == 0) continue;
    box.y0 = std::min(box.y0, y);
    box.y1 = y + 1;
  }
  if (box.y1 == 0) return {0, 0, 0, 0};
  unsigned first = 0, last = words - 1;
  while (columns[first] == 0) ++first;
  while (columns[last] == 0) --last;
  box.x0 = first * 64 + static_cast<unsigned>(std::countl_zero(columns[first]));
  box.x1 = last * 64 + 64 - static_cast<unsigned>(std::countr_zero(columns[last]));
  return box;
}

// Keeps the ink of a 1-bit bitmap as it is, a bit a pixel: its rows are
// copied whole, then those without ink dropped; the columns before the ink
// are skipped where the symbol is packed.
void keep_mono_ink(const FT_Bitmap& b, int left, int top, GlyphInk& out,
                   std::vector<uint8_t>& levels) {
  const unsigned stride = (b.width + 7) / 8;
  uint8_t* rows = add_rows(levels, size_t{stride} * b.rows, out);
  const Box box =
      b.width <= 64 ? copy_narrow_rows(b, stride, rows) : copy_wide_rows(b, stride, rows);
  if (empty(box)) {
    levels.resize(out.levels_at);
    out.levels_at = 0;
    return;
  }
  place_ink(box, left, top, out);
  out.stride = stride;
  out.first_bit = box.x0;
  const size_t bytes = size_t{stride} * out.height;
  if (box.y0 > 0) std::memmove(rows, rows + size_t{box.y0} * stride, bytes);
  std::memset(rows + bytes, 0, kBitRowSlack);
  levels.resize(out.levels_at + bytes + kBitRowSlack);
}

// Whether an outline's size in pixels, by check_size's rule, is within
// max_side each way by the metrics FreeType gives it: its control box,
// rounded outward where hinted. That spares walking the outline's points a
// second time for nearly every glyph; the others are measured exactly.
bool metrics_within(const FT_Glyph_Metrics& m, uint32_t max_side) {
  if (m.width < 0 || m.height < 0) return false;
  const int64_t x0 = m.horiBearingX, x1 = x0 + int64_t{m.width};
  const int64_t y1 = m.horiBearingY, y0 = y1 - int64_t{m.height};
  return (x1 >> 6) - (x0 >> 6) + 1 <= int64_t{max_side} &&
         (y1 >> 6) - (y0 >> 6) + 1 <= int64_t{max_side};
}

// Refuses a glyph whose size before rendering (its outline's control box, or
// the bitmap that a bitmap font stores) is beyond max_side.
Status check_size(const FT_GlyphSlot slot, uint32_t max_side) {
  uint64_t width = slot->bitmap.width, rows = slot->bitmap.rows;
  const uint64_t advance = static_cast<uint64_t>(std::abs(slot->advance.x) >> 6);
  if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
    if (advance <= max_side && metrics_within(slot->metrics, max_side)) return {};
    FT_BBox box;
    FT_Outline_Get_CBox(&slot->outline, &box);
    width = static_cast<uint64_t>((box.xMax >> 6) - (box.xMin >> 6)) + 1;
    rows = static_cast<uint64_t>((box.yMax >> 6) - (box.yMin >> 6)) + 1;
  }
  if (width <= max_side && rows <= max_side && advance <= max_side) return {};
  return Failure{Fault::format, "it is " + std::to_string(width) + " x " + std::to_string(rows) +
                                    " pixels with an advance of " + std::to_string(advance) +
                                    ", far larger than its font's size (a damaged font?)"};
}

}  // namespace

Outcome<GlyphInk> render_glyph(FT_Library library, FT_Face face, FT_UInt index,
                               const RenderSettings& settings, std::vector<uint8_t>& levels) {
  const FT_GlyphSlot slot = face->glyph;
  FT_Error e = FT_Load_Glyph(face, index, load_flags(settings));
  if (e == FT_Err_Ok) {
    if (Status sized = check_size(slot, settings.max_side); !sized.ok()) return sized.failure();
    e = FT_Render_Glyph(slot, render_mode(settings));
  }
  const bool blank = e == FT_Err_Ok && (slot->bitmap.width == 0 || slot->bitmap.rows == 0);
  // A damaged bitmap font can give a glyph a size but no pixels.
  if (e == FT_Err_Ok && !blank && !slot->bitmap.buffer)
    return Failure{Fault::format, "it has a size but no pixels (a damaged font?)"};
  if (e != FT_Err_Ok) return ft_failure(e, "");
  GlyphInk ink;
  ink.advance = static_cast<int>((slot->advance.x + 32) >> 6);
  if (blank) return ink;
  const FT_Bitmap& b = slot->bitmap;
  const int left = slot->bitmap_left, top = -slot->bitmap_top;
  // 1-bit glyphs of b&w symbols stay bits, and 8-bit ones are read as they
  // are; whatever else the font stores (2 or 4 bits, colour) is made a byte
  // a pixel first.
  if (b.pixel_mode == FT_PIXEL_MODE_MONO && settings.bpp == 1 &&
      static_cast<unsigned>(std::abs(b.pitch)) >= (b.width + 7) / 8) {
    keep_mono_ink(b, left, top, ink, levels);
  } else if (b.pixel_mode == FT_PIXEL_MODE_GRAY && b.num_grays == 256) {
    keep_grey_ink(b, left, top, settings.bpp, ink, levels);
  } else {
    OwnedBitmap converted(library);
    e = FT_Bitmap_Convert(library, &b, converted.get(), 1);
    if (e != FT_Err_Ok) return ft_failure(e, "");
    keep_grey_ink(*converted.get(), left, top, settings.bpp, ink, levels);
  }
  return ink;
}

}  // namespace tralk::importer
