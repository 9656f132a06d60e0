#include "bitmap/greyconv.h"

#include <new>
#include <vector>

#include "bitmap/symbol.h"
#include "driver/console.h"

namespace {

uint16_t grey_depth(uint32_t levels) {
  if (levels <= 2) return 1;
  if (levels <= 4) return 2;
  return levels <= 16 ? 4 : 8;
}

uint8_t grey_level(const RGBTRIPLET& c, uint16_t depth) {
  return static_cast<uint8_t>(rgb_grey(c) >> (8 - depth));
}

// Writes level(value) for every source pixel into result.
template <class Level>
void write_levels(const SYMBOL& source, const SYMSHAPE& src, SYMBOL& result, Level level) {
  SYMSHAPE dst;
  sym_shape(result, dst);
  for (uint32_t y = 0; y < src.height; ++y) {
    const uint8_t* in = sym_row(source, src, y);
    uint8_t* out = sym_row(result, dst, y);
    for (uint32_t x = 0; x < src.width; ++x)
      sym_row_setpixel(out, x, dst.numbits, level(sym_row_getpixel(in, x, src.numbits)));
  }
}

// Indexed source: one level per table entry, looked up per pixel.
bool convert_indexed(const SYMBOL& source, const SYMSHAPE& src, const RGBTRIPLET* palette,
                     uint16_t count, SYMBOL& result, uint16_t depth) {
  std::vector<uint8_t> table;
  try {
    table.resize(count);
  } catch (const std::bad_alloc&) {
    con_printf("\nheap error");
    return false;
  }
  for (uint16_t i = 0; i < count; ++i) table[i] = grey_level(palette[i], depth);
  if (src.numbits != 2 && src.numbits != 4 && src.numbits != 8) {
    con_printf("\nIllegal color symbol format");
    return false;
  }
  write_levels(source, src, result, [&](uint32_t v) { return table[v < count ? v : count - 1]; });
  return true;
}

}  // namespace

uint8_t rgb_grey(const RGBTRIPLET& c) {
  return static_cast<uint8_t>((76u * c.r + 150u * c.g + 30u * c.b) / 256);
}

SYMBOL sym_greyconv(const SYMBOL& source, const RGBTRIPLET* palette, uint16_t count,
                    uint32_t levels) {
  if (source.empty()) {
    con_printf("\nparameter error");
    return {};
  }
  if (levels == 1) {
    con_printf("\nparameter error, cant convert b&w");
    return {};
  }
  SYMSHAPE src;
  if (!sym_shape(source, src)) {
    con_printf("\nIllegal color symbol format");
    return {};
  }
  const uint16_t depth = grey_depth(levels);
  SYMBOL result = sym_create(src.width, src.height, depth);
  if (result.empty()) {
    con_printf("\nSymbol header error");
    return {};
  }
  if (src.numbits <= 8) {
    // An empty table has no last entry to fall back on.
    if (!palette || count == 0) {
      con_printf("\nSymbol palette is needed when bmp bit pr pixel <= 8");
      return {};
    }
    if (!convert_indexed(source, src, palette, count, result, depth)) return {};
    return result;
  }
  if (src.numbits != 24) {
    con_printf("\nIllegal color symbol format");
    return {};
  }
  write_levels(source, src, result, [&](uint32_t v) {
    const RGBTRIPLET c{static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8),
                       static_cast<uint8_t>(v)};
    return grey_level(c, depth);
  });
  return result;
}
