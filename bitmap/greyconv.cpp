#include "bitmap/greyconv.h"

#include "base/console.h"
#include "bitmap/row_convert.h"
#include "bitmap/symbol.h"

LookupRows::Table grey_table(const RGBTRIPLET* palette, uint16_t count, uint16_t depth) {
  LookupRows::Table levels{};
  for (unsigned i = 0; i < levels.size(); ++i)
    levels[i] = rgb_grey(palette[i < count ? i : count - 1u]) >> (8 - depth);
  return levels;
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
    if (src.numbits != 2 && src.numbits != 4 && src.numbits != 8) {
      con_printf("\nIllegal color symbol format");
      return {};
    }
    LookupRows rows(src.numbits, depth, grey_table(palette, count, depth));
    convert_rows(source, src, rows, result);
    return result;
  }
  if (src.numbits != 24) {
    con_printf("\nIllegal color symbol format");
    return {};
  }
  GreyRows rows(depth);
  convert_rows(source, src, rows, result);
  return result;
}
