#include "support/symbol_conversions.h"

#include "base/console.h"
#include "bitmap/palette_mode.h"
#include "bitmap/row_convert.h"
#include "bitmap/symbol.h"

namespace {

// The symbol made, or none after sym_create's message.
SYMBOL made(Outcome<SYMBOL> sym) {
  if (sym.ok()) return std::move(sym.value());
  con_printf(sym.code() == Fault::too_large ? "\nHeap error during sym creation"
                                            : "\nParamter error, zero size");
  return {};
}

uint16_t direct_depth(uint8_t convtype) {
  if (convtype == 8) return 8;
  return convtype <= 16 ? 16 : 24;
}

SYMBOL palette_mode(const SYMBOL& source, const SYMSHAPE& src, const RGBTRIPLET* srcpalette,
                    uint16_t srccount, const RGBTRIPLET* dstpalette, uint16_t dstcount,
                    uint8_t convtype) {
  PaletteMatch match(srcpalette, srccount, dstpalette, dstcount, src.numbits);
  Outcome<SYMBOL> result = convert_symbol(source, src, match.rows());
  if (!result.ok()) {
    con_printf("\nHeap error during sym creation");
    return {};
  }
  if (Status finished = match.finish(result.value(), convtype == 0); !finished.ok()) {
    if (finished.code() == Fault::too_large) con_printf("\nHeap error during sym creation");
    return {};
  }
  if (match.defaulted() != 0)
    con_warn("\n - %u pixels set to default during color conversion", match.defaulted());
  else
    con_printf("\n - All pixels converted sucessfully to default palette");
  return std::move(result.value());
}

// Each pixel's colour from the source table, packed.
SYMBOL palette_to_direct(const SYMBOL& source, const SYMSHAPE& src, const RGBTRIPLET* srcpalette,
                         uint16_t srccount, uint8_t convtype) {
  const uint16_t depth = direct_depth(convtype);
  LookupRows::Table packed{};
  for (unsigned i = 0; i < srccount && i < packed.size(); ++i)
    packed[i] = rgb_pack(&srcpalette[i], static_cast<uint8_t>(depth));
  LookupRows rows(src.numbits, depth, packed);
  SYMBOL result = made(convert_symbol(source, src, rows));
  if (result.empty() || rows.beyond() != 0) return {};
  for (size_t v = srccount; v < rows.counts().size(); ++v) {
    if (rows.counts()[v] != 0) return {};  // an index beyond the source table
  }
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
  RepackRows rows(src.numbits, direct_depth(convtype));
  return made(convert_symbol(source, src, rows));
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
  SYMBOL result = made(sym_create(src.width, src.height, depth));
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
