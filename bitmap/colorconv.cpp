#include "bitmap/colorconv.h"

#include "base/console.h"
#include "bitmap/palette_mode.h"
#include "bitmap/row_convert.h"
#include "bitmap/symbol.h"

namespace {

uint16_t direct_depth(uint8_t convtype) {
  if (convtype == 8) return 8;
  return convtype <= 16 ? 16 : 24;
}

SYMBOL palette_mode(const SYMBOL& source, const SYMSHAPE& src, const RGBTRIPLET* srcpalette,
                    uint16_t srccount, const RGBTRIPLET* dstpalette, uint16_t dstcount,
                    uint8_t convtype) {
  PaletteMatch match(srcpalette, srccount, dstpalette, dstcount, src.numbits);
  SYMBOL result = convert_symbol(source, src, match.rows());
  if (result.empty() || !match.finish(result, convtype == 0)) return {};
  return result;
}

// Each pixel's colour from the source table, packed.
SYMBOL palette_to_direct(const SYMBOL& source, const SYMSHAPE& src, const RGBTRIPLET* srcpalette,
                         uint16_t srccount, uint8_t convtype) {
  const uint16_t depth = direct_depth(convtype);
  LookupRows::Table packed{};
  for (unsigned i = 0; i < srccount && i < packed.size(); ++i)
    packed[i] = rgb_pack(&srcpalette[i], static_cast<uint8_t>(depth));
  LookupRows rows(src.numbits, depth, packed);
  SYMBOL result = convert_symbol(source, src, rows);
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
  return convert_symbol(source, src, rows);
}
