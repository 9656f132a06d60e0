#include "import/fonts/glyph_ink.h"

#include FT_BITMAP_H
#include FT_OUTLINE_H

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>
#include <cstring>

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

// Start of row y (top row 0) of a bitmap, whichever way it flows.
const uint8_t* bitmap_row(const FT_Bitmap& b, unsigned y) {
  if (b.pitch >= 0) return b.buffer + size_t{y} * static_cast<unsigned>(b.pitch);
  return b.buffer + size_t{b.rows - 1 - y} * static_cast<unsigned>(-b.pitch);
}

// The ink level of each coverage value 0 to 255 of a bitmap of num_grays
// values. Every glyph of a font has the same num_grays, so the table of the
// last one is kept: 256 divisions a glyph cost more than the glyph's pixels.
const std::array<uint8_t, 256>& level_table(const FT_Bitmap& b, unsigned bpp) {
  struct Cached {
    unsigned num_grays = 0, bpp = 0;
    std::array<uint8_t, 256> table{};
  };
  static thread_local Cached cached;
  if (cached.num_grays == b.num_grays && cached.bpp == bpp) return cached.table;
  const uint32_t max_coverage = b.num_grays > 1 ? b.num_grays - 1u : 1u;
  const uint32_t max_level = (1u << bpp) - 1;
  for (uint32_t c = 0; c < cached.table.size(); ++c)
    cached.table[c] = static_cast<uint8_t>(
        std::min(coverage_level(std::min(c, max_coverage), max_coverage, max_level), max_level));
  cached.num_grays = b.num_grays;
  cached.bpp = bpp;
  return cached.table;
}

struct Box {
  unsigned x0, y0, x1, y1;  // x1, y1 past the last inked column and row
};

bool empty(const Box& box) {
  return box.x1 == 0;
}

// Places the ink box of a bitmap placed at (left, top) relative to the
// origin and baseline, and makes room for its rows of stride bytes.
void place_ink(const Box& box, int left, int top, uint32_t stride, GlyphInk& out) {
  out.left = left + static_cast<int>(box.x0);
  out.top = top + static_cast<int>(box.y0);
  out.width = box.x1 - box.x0;
  out.height = box.y1 - box.y0;
  out.stride = stride;
  out.levels.assign(size_t{stride} * out.height + kBitRowSlack, 0);
}

// The box of the pixels of an 8-bit bitmap whose level is not blank.
Box grey_ink_box(const FT_Bitmap& b, const std::array<uint8_t, 256>& table) {
  Box box{b.width, b.rows, 0, 0};
  for (unsigned y = 0; y < b.rows; ++y) {
    const uint8_t* row = bitmap_row(b, y);
    unsigned x0 = b.width, x1 = 0;
    for (unsigned x = 0; x < b.width; ++x)
      if (table[row[x]]) {
        x0 = std::min(x0, x);
        x1 = x + 1;
      }
    if (x1 == 0) continue;
    box.x0 = std::min(box.x0, x0);
    box.x1 = std::max(box.x1, x1);
    box.y0 = std::min(box.y0, y);
    box.y1 = y + 1;
  }
  return box;
}

// Keeps the levels of the ink box of an 8-bit bitmap, packed at bpp bits.
void keep_grey_ink(const FT_Bitmap& b, int left, int top, unsigned bpp, GlyphInk& out) {
  const std::array<uint8_t, 256>& table = level_table(b, bpp);
  const Box box = grey_ink_box(b, table);
  if (empty(box)) return;
  place_ink(box, left, top, static_cast<uint32_t>((uint64_t{box.x1 - box.x0} * bpp + 7) / 8), out);
  uint8_t* to = out.levels.data();
  for (unsigned y = box.y0; y < box.y1; ++y, to += out.stride) {
    const uint8_t* row = bitmap_row(b, y);
    unsigned bit = 0;
    for (unsigned x = box.x0; x < box.x1; ++x, bit += bpp)
      to[bit / 8] = static_cast<uint8_t>(to[bit / 8] | table[row[x]] << (8 - bpp - bit % 8));
  }
}

// Byte k of a row of a 1-bit bitmap of nbytes bytes a row, without the bits
// past the last pixel, which FreeType does not promise to clear.
uint8_t mono_byte(const uint8_t* row, unsigned k, unsigned nbytes, uint8_t last_mask) {
  return k + 1 == nbytes ? row[k] & last_mask : row[k];
}

// The box of the set bits of a 1-bit bitmap.
Box mono_ink_box(const FT_Bitmap& b) {
  Box box{b.width, b.rows, 0, 0};
  const unsigned nbytes = (b.width + 7) / 8;
  const uint8_t last_mask = static_cast<uint8_t>(0xFF00u >> ((b.width - 1) % 8 + 1));
  for (unsigned y = 0; y < b.rows; ++y) {
    const uint8_t* row = bitmap_row(b, y);
    unsigned first = 0;
    while (first < nbytes && mono_byte(row, first, nbytes, last_mask) == 0) ++first;
    if (first == nbytes) continue;
    unsigned last = nbytes - 1;
    while (mono_byte(row, last, nbytes, last_mask) == 0) --last;
    box.x0 = std::min<unsigned>(
        box.x0, first * 8 + std::countl_zero(mono_byte(row, first, nbytes, last_mask)));
    box.x1 = std::max<unsigned>(
        box.x1, last * 8 + 8 - std::countr_zero(mono_byte(row, last, nbytes, last_mask)));
    box.y0 = std::min(box.y0, y);
    box.y1 = y + 1;
  }
  return box;
}

// Keeps the ink box of a 1-bit bitmap as it is, a bit a pixel: the bytes
// of each row that hold the box's columns.
void keep_mono_ink(const FT_Bitmap& b, int left, int top, GlyphInk& out) {
  const Box box = mono_ink_box(b);
  if (empty(box)) return;
  const unsigned from = box.x0 / 8;
  place_ink(box, left, top, (box.x1 + 7) / 8 - from, out);
  out.first_bit = box.x0 % 8;
  uint8_t* to = out.levels.data();
  for (unsigned y = box.y0; y < box.y1; ++y, to += out.stride)
    std::memcpy(to, bitmap_row(b, y) + from, out.stride);
}

// Refuses a glyph whose size before rendering (its outline's control box, or
// the bitmap that a bitmap font stores) is beyond max_side.
Status check_size(const FT_GlyphSlot slot, uint32_t max_side) {
  uint64_t width = slot->bitmap.width, rows = slot->bitmap.rows;
  if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
    FT_BBox box;
    FT_Outline_Get_CBox(&slot->outline, &box);
    width = static_cast<uint64_t>((box.xMax >> 6) - (box.xMin >> 6)) + 1;
    rows = static_cast<uint64_t>((box.yMax >> 6) - (box.yMin >> 6)) + 1;
  }
  const uint64_t advance = static_cast<uint64_t>(std::abs(slot->advance.x) >> 6);
  if (width <= max_side && rows <= max_side && advance <= max_side) return {};
  return Failure{Fault::format, "it is " + std::to_string(width) + " x " + std::to_string(rows) +
                                    " pixels with an advance of " + std::to_string(advance) +
                                    ", far larger than its font's size (a damaged font?)"};
}

}  // namespace

Outcome<GlyphInk> render_glyph(FT_Library library, FT_Face face, FT_UInt index,
                               const RenderSettings& settings) {
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
  if (b.pixel_mode == FT_PIXEL_MODE_MONO && settings.bpp == 1) {
    keep_mono_ink(b, left, top, ink);
  } else if (b.pixel_mode == FT_PIXEL_MODE_GRAY && b.num_grays == 256) {
    keep_grey_ink(b, left, top, settings.bpp, ink);
  } else {
    OwnedBitmap converted(library);
    e = FT_Bitmap_Convert(library, &b, converted.get(), 1);
    if (e != FT_Err_Ok) return ft_failure(e, "");
    keep_grey_ink(*converted.get(), left, top, settings.bpp, ink);
  }
  return ink;
}

}  // namespace tralk::importer
