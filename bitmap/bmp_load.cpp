#include "bitmap/bmp_load.h"

#include <algorithm>
#include <new>
#include <optional>
#include <vector>

#include "bitmap/bmp_convert.h"
#include "bitmap/bmp_read.h"
#include "bitmap/colorconv.h"
#include "bitmap/greyconv.h"
#include "bitmap/symbol.h"
#include "driver/console.h"

namespace {

// What became of the picture's symbol: left as read, replaced by a
// converted one, or a failure with its message.
struct Conversion {
  bool converted = false;
  SYMBOL symbol;
  const char* error = nullptr;
};

Conversion unchanged() {
  return {};
}
Conversion failed(const char* error) {
  return {false, {}, error};
}
Conversion converted(SYMBOL symbol, const char* error_if_none) {
  if (symbol.empty()) return failed(error_if_none);
  return {true, std::move(symbol), nullptr};
}

Conversion convert_picture(const SYMBOL& sym, const std::vector<RGBTRIPLET>& table,
                           const RGBTRIPLET* palette, uint32_t n) {
  const RGBTRIPLET* src = table.empty() ? nullptr : table.data();
  const auto srccount = static_cast<uint16_t>(table.size());
  if (!palette && n >= 2)
    return converted(sym_greyconv(sym, src, srccount, n), "Grey scale conversion error");
  const auto dstcount = static_cast<uint16_t>(std::min<uint32_t>(n, 0xFFFF));
  switch (sym_header(sym.data(), 1)) {
    case 4:
      if (!src || !palette) return failed("Color conversion parameter error");
      return converted(sym_colorconv(sym, src, srccount, palette, dstcount, 0),
                       "Color conversion error");
    case 8:
      if (!src) return failed("Color conversion parameter error");
      // Only a full 256-colour palette can take an 8-bit picture's indices;
      // anything smaller would lose colours, so direct colour is used.
      if (srccount == 256 && n == 256)
        return converted(sym_colorconv(sym, src, 256, palette, 256, 0), "Color conversion error");
      return converted(sym_colorconv(sym, src, srccount, nullptr, 0, 8), "Color conversion error");
    case 16:
      return unchanged();
    case 24:
      return converted(sym_colorconv(sym, nullptr, 0, nullptr, 0, 16), "Color conversion error");
    default:
      return failed("Illegal sym header");
  }
}

// Levels to bits per pixel, as the grey conversion takes them.
uint16_t grey_bits(uint32_t levels) {
  if (levels <= 2) return 1;
  if (levels <= 4) return 2;
  return levels <= 16 ? 4 : 8;
}

// Most pictures are converted while they are read (bitmap/bmp_convert.h):
// 24-bit ones in grey mode to grey levels, else to 5-6-5 colour; 4- and
// 8-bit ones in palette mode. None for the others, or when that way cannot
// be taken; an empty symbol after a failure that has been reported.
std::optional<SYMBOL> read_converted(const char* path, const RGBTRIPLET* palette, uint32_t n) {
  if (!palette && n >= 2) return bmp_read24_converted(path, Bmp24Target::grey, grey_bits(n));
  const auto count = static_cast<uint16_t>(std::min<uint32_t>(n, 0xFFFF));
  if (std::optional<SYMBOL> indexed = bmp_read_palette_converted(path, palette, count))
    return indexed;
  return bmp_read24_converted(path, Bmp24Target::rgb565, 16);
}

// Wraps the picture's final symbol, of size pixel bytes, into a font.
SymFontPtr picture_font(SYMBOL sym, uint32_t size) {
  SYMSHAPE shape;
  sym_shape(sym, shape);
  SymFontPtr font;
  try {
    font = std::make_unique<SYMFONT>();
  } catch (const std::bad_alloc&) {
    con_printf("Error heap alloc");
    return nullptr;
  }
  font->symwidth = shape.width;
  font->symheight = shape.height;
  font->symbytes = size;
  font->symdata = std::move(sym);
  font->numsym = 1;
  return font;
}

}  // namespace

SymFontPtr bmp_load(const char* path, const RGBTRIPLET* palette, uint32_t n) {
  if (!path) return nullptr;
  if (std::optional<SYMBOL> converted = read_converted(path, palette, n)) {
    if (converted->empty()) return nullptr;
    const uint32_t size = sym_databytes(*converted);
    return picture_font(std::move(*converted), size);
  }
  uint32_t size = 0;
  std::vector<RGBTRIPLET> table;
  SYMBOL sym = bmp_read(path, &size, &table);
  if (sym.empty()) return nullptr;
  if (sym_header(sym.data(), 0) == 0) {
    Conversion conv = convert_picture(sym, table, palette, n);
    if (conv.error) {
      con_printf("%s", conv.error);
      return nullptr;
    }
    if (conv.converted) {
      sym = std::move(conv.symbol);
      size = sym_databytes(sym);
    }
  }
  return picture_font(std::move(sym), size);
}
