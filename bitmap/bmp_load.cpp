#include "bitmap/bmp_load.h"

#include <algorithm>
#include <new>
#include <vector>

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

}  // namespace

SymFontPtr bmp_load(const char* path, const RGBTRIPLET* palette, uint32_t n) {
  if (!path) return nullptr;
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
