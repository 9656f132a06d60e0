#include "bitmap/bmp_load.h"

#include <algorithm>
#include <memory>
#include <new>

#include "base/console.h"
#include "bitmap/bmp_read.h"
#include "bitmap/greyconv.h"
#include "bitmap/palette_mode.h"
#include "bitmap/row_convert.h"
#include "bitmap/symbol.h"

namespace {

// What a picture's pixels become, decided once from its depth, the grey
// mode and the palette.
struct Conversion {
  std::unique_ptr<RowConverter> rows;   // every mode but palette mode
  std::unique_ptr<PaletteMatch> match;  // palette mode
  const char* refusal = nullptr;        // the picture cannot be converted so
  bool grey = false;

  RowConverter& converter() { return match ? match->rows() : *rows; }
};

Conversion grey_conversion(const BmpHeader& h, uint32_t levels) {
  Conversion c;
  c.grey = true;
  const uint16_t depth = grey_depth(levels);
  if (h.depth() == 24) {
    c.rows = std::make_unique<GreyRows>(depth, Order::bgr);
  } else {
    const auto count = static_cast<uint16_t>(h.table.size());
    c.rows = std::make_unique<LookupRows>(h.bits, depth, grey_table(h.table.data(), count, depth));
  }
  return c;
}

// 1-bit pictures stay as they are; in grey mode (no palette, two or more
// levels) the others become grey levels; else 4-bit pictures become palette
// indices, 8-bit ones palette indices when both the picture's table and the
// palette have 256 colours and 3-3-2 colour otherwise, and 16-, 24- and
// 32-bit ones 5-6-5 colour.
Conversion choose(const BmpHeader& h, const RGBTRIPLET* palette, uint32_t n) {
  Conversion c;
  if (h.bits == 1) {
    c.rows = std::make_unique<RepackRows>(1, 1);
  } else if (!palette && n >= 2) {
    c = grey_conversion(h, n);
  } else if (h.depth() == 24) {
    c.rows = std::make_unique<RepackRows>(24, 16, Order::bgr);
  } else if (h.bits == 8 && !(h.table.size() == 256 && n == 256)) {
    LookupRows::Table packed{};
    for (size_t i = 0; i < h.table.size(); ++i) packed[i] = rgb_pack(&h.table[i], 8);
    c.rows = std::make_unique<LookupRows>(8, 8, packed);
  } else if (!palette) {
    c.refusal = "Color conversion parameter error";
  } else {
    const auto count = static_cast<uint16_t>(std::min<uint32_t>(n, 0xFFFF));
    c.match = std::make_unique<PaletteMatch>(h.table.data(), static_cast<uint16_t>(h.table.size()),
                                             palette, count, h.bits);
  }
  return c;
}

// The symbol the rows are converted into; empty after its messages.
SYMBOL make_result(const BmpHeader& h, Conversion& c) {
  const uint16_t depth = c.converter().out_bits();
  if (h.bits == 1) {
    try {
      return sym_blank(h.width, h.height, depth);
    } catch (const std::bad_alloc&) {
      return {};
    }
  }
  SYMBOL result = sym_create(h.width, h.height, depth);
  if (result.empty()) con_printf(c.grey ? "\nSymbol header error" : "");
  return result;
}

SymFontPtr report(const Status& failed, const char* path) {
  con_printf("%s File \"%s\"", failed.error().c_str(), path);
  return nullptr;
}

// Wraps the picture's final symbol into a font.
SymFontPtr picture_font(SYMBOL sym) {
  SymFontPtr font;
  try {
    font = std::make_unique<SYMFONT>();
  } catch (const std::bad_alloc&) {
    con_printf("Error heap alloc");
    return nullptr;
  }
  SYMSHAPE shape;
  sym_shape(sym, shape);
  font->symwidth = shape.width;
  font->symheight = shape.height;
  font->symbytes = sym_databytes(sym);
  font->symdata = std::move(sym);
  font->numsym = 1;
  return font;
}

}  // namespace

SymFontPtr bmp_load(const char* path, const RGBTRIPLET* palette, uint32_t n) {
  if (!path) return nullptr;
  BmpPicture pic;
  if (Status err = bmp_open(path, true, pic); !err.ok()) return report(err, path);
  Conversion c = choose(pic.header, palette, n);
  if (c.refusal) {
    // Faults of the file itself come first.
    if (Status err = bmp_read_rows(pic, nullptr, nullptr); !err.ok()) return report(err, path);
    con_printf("%s", c.refusal);
    return nullptr;
  }
  const char* failed = c.grey ? "Grey scale conversion error" : "Color conversion error";
  SYMBOL result = make_result(pic.header, c);
  if (result.empty()) {
    if (pic.header.bits == 1) return report(Failure{Fault::too_large, "Error heap alloc"}, path);
    con_printf("%s", failed);
    return nullptr;
  }
  if (Status err = bmp_read_rows(pic, &c.converter(), &result); !err.ok()) return report(err, path);
  if (c.match && !c.match->finish(result, true)) {
    con_printf("%s", failed);
    return nullptr;
  }
  return picture_font(std::move(result));
}
