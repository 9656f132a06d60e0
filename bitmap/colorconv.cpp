#include "bitmap/colorconv.h"

#include <algorithm>
#include <new>
#include <vector>

#include "bitmap/symbol.h"
#include "driver/console.h"

namespace {

constexpr uint16_t kNoMatch = 0xFFFF;

// Runs every pixel of source through convert(value, out) into result, rows
// from the top, each from the left. Stops with false when convert refuses a
// value.
template <class Convert>
bool convert_pixels(const SYMBOL& source, const SYMSHAPE& src, SYMBOL& result, Convert convert) {
  SYMSHAPE dst;
  if (!sym_shape(result, dst)) return false;
  for (uint32_t y = 0; y < src.height; ++y) {
    const uint8_t* in = sym_row(source, src, y);
    uint8_t* out = sym_row(result, dst, y);
    for (uint32_t x = 0; x < src.width; ++x) {
      uint32_t value;
      if (!convert(sym_row_getpixel(in, x, src.numbits), value)) return false;
      sym_row_setpixel(out, x, dst.numbits, value);
    }
  }
  return true;
}

uint16_t direct_depth(uint8_t convtype) {
  if (convtype == 8) return 8;
  return convtype <= 16 ? 16 : 24;
}

uint16_t index_depth(uint32_t largest) {
  if (largest < 4) return 2;
  return largest < 16 ? 4 : 8;
}

// One palette-mode pass; the default count and the largest index written
// are added up / kept in the caller's variables.
SYMBOL palette_pass(const SYMBOL& source, const SYMSHAPE& src, const RGBTRIPLET* srcpalette,
                    uint16_t srccount, const RGBTRIPLET* dstpalette, uint16_t dstcount,
                    uint32_t& defaults, uint32_t& largest_written) {
  std::vector<uint16_t> map;
  try {
    map.assign(std::max<std::size_t>(srccount, 256), kNoMatch);
  } catch (const std::bad_alloc&) {
    con_printf("\nheap error");
    return {};
  }
  uint32_t largest_found = 0;
  for (uint16_t i = 0; i < srccount; ++i) {
    const RGBTRIPLET* end = dstpalette + dstcount;
    const RGBTRIPLET* hit = std::find(dstpalette, end, srcpalette[i]);
    if (hit == end) continue;
    map[i] = static_cast<uint16_t>(hit - dstpalette);
    largest_found = std::max<uint32_t>(largest_found, map[i]);
  }
  SYMBOL result = sym_create(src.width, src.height, index_depth(largest_found));
  if (result.empty()) return {};
  const bool ok = convert_pixels(source, src, result, [&](uint32_t v, uint32_t& out) {
    if (v >= srccount) return false;
    if (map[v] == kNoMatch) {
      out = 0;
      ++defaults;
    } else {
      out = map[v];
      largest_written = std::max(largest_written, out);
    }
    return true;
  });
  if (!ok) return {};
  return result;
}

SYMBOL palette_mode(const SYMBOL& source, const SYMSHAPE& src, const RGBTRIPLET* srcpalette,
                    uint16_t srccount, const RGBTRIPLET* dstpalette, uint16_t dstcount,
                    uint8_t convtype) {
  uint32_t defaults = 0;
  uint32_t largest = 0;
  SYMBOL result =
      palette_pass(source, src, srcpalette, srccount, dstpalette, dstcount, defaults, largest);
  if (result.empty()) return {};
  SYMSHAPE first;
  sym_shape(result, first);
  const bool narrower = (largest < 4 && first.numbits > 2) || (largest < 16 && first.numbits > 4);
  if (convtype == 0 && defaults == 0 && narrower) {
    // The first pass's indices are target indices; matching the target
    // palette against its own head lets the depth follow the pixels used.
    const uint16_t keep = std::min<uint16_t>(dstcount, first.numbits == 4 ? 4 : 16);
    result = palette_pass(result, first, dstpalette, dstcount, dstpalette, keep, defaults, largest);
    if (result.empty()) return {};
  }
  if (defaults != 0)
    con_printf("\n - %u pixels set to default during color conversion", defaults);
  else
    con_printf("\n - All pixels converted sucessfully to default palette");
  return result;
}

SYMBOL palette_to_direct(const SYMBOL& source, const SYMSHAPE& src, const RGBTRIPLET* srcpalette,
                         uint16_t srccount, uint8_t convtype) {
  const uint16_t depth = direct_depth(convtype);
  SYMBOL result = sym_create(src.width, src.height, depth);
  if (result.empty()) return {};
  std::vector<uint32_t> packed(srccount);
  for (uint16_t i = 0; i < srccount; ++i)
    packed[i] = rgb_pack(&srcpalette[i], static_cast<uint8_t>(depth));
  const bool ok = convert_pixels(source, src, result, [&](uint32_t v, uint32_t& out) {
    if (v >= srccount) return false;
    out = packed[v];
    return true;
  });
  if (!ok) return {};
  return result;
}

SYMBOL direct_mode(const SYMBOL& source, const SYMSHAPE& src, uint8_t convtype) {
  const uint16_t depth = direct_depth(convtype);
  SYMBOL result = sym_create(src.width, src.height, depth);
  if (result.empty()) return {};
  const auto from = static_cast<uint8_t>(src.numbits);
  const auto to = static_cast<uint8_t>(depth);
  convert_pixels(source, src, result, [&](uint32_t v, uint32_t& out) {
    if (from == to) {
      out = v;
    } else {
      RGBTRIPLET rgb;
      rgb_unpack(v, &rgb, from);
      out = rgb_pack(&rgb, to);
    }
    return true;
  });
  return result;
}

}  // namespace

SYMBOL sym_colorconv(const SYMBOL& source, const RGBTRIPLET* srcpalette, uint16_t srccount,
                     const RGBTRIPLET* dstpalette, uint16_t dstcount, uint8_t convtype) {
  if (source.empty()) {
    con_printf("\nparameter error");
    return {};
  }
  const bool palette_mode_call = srcpalette && dstpalette;
  if ((dstpalette && !srcpalette) || (!palette_mode_call && convtype < 8)) {
    con_printf("\nparameter error, conversion type not supported ");
    return {};
  }
  SYMSHAPE src;
  if (!sym_shape(source, src)) {
    con_printf("\nIllegal color symbol format");
    return {};
  }
  if (palette_mode_call)
    return palette_mode(source, src, srcpalette, srccount, dstpalette, dstcount, convtype);
  if (srcpalette) return palette_to_direct(source, src, srcpalette, srccount, convtype);
  return direct_mode(source, src, convtype);
}
