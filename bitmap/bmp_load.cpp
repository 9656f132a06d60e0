#include "bitmap/bmp_load.h"

#include <algorithm>
#include <memory>
#include <new>

#include "bitmap/bmp_read.h"
#include "bitmap/palette_mode.h"
#include "bitmap/row_convert.h"
#include "bitmap/symbol.h"

namespace {

// What a picture's pixels become, decided once from its depth, the grey
// mode and the palette.
struct Conversion {
  std::unique_ptr<RowConverter> rows;   // every mode but palette mode
  std::unique_ptr<PaletteMatch> match;  // palette mode
  bool refused = false;                 // no palette to convert the picture with

  RowConverter& converter() { return match ? match->rows() : *rows; }
};

Conversion grey_conversion(const BmpHeader& h, uint32_t levels) {
  Conversion c;
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
    c.refused = true;
  } else {
    const auto count = static_cast<uint16_t>(std::min<uint32_t>(n, 0xFFFF));
    c.match = std::make_unique<PaletteMatch>(h.table.data(), static_cast<uint16_t>(h.table.size()),
                                             palette, count, h.bits);
  }
  return c;
}

// The symbol the rows are converted into.
Outcome<SYMBOL> make_result(const BmpHeader& h, Conversion& c) {
  const uint16_t depth = c.converter().out_bits();
  if (h.bits == 1) {
    try {
      return sym_blank(h.width, h.height, depth);
    } catch (const std::bad_alloc&) {
      return bmp_failure(Fault::too_large, BmpField::pixels);
    }
  }
  Outcome<SYMBOL> result = sym_create(h.width, h.height, depth);
  if (!result.ok()) return bmp_failure(result.code(), BmpField::conversion);
  return result;
}

// Wraps the picture's final symbol into a font.
Outcome<SymFontPtr> picture_font(SYMBOL sym) {
  SymFontPtr font;
  try {
    font = std::make_unique<SYMFONT>();
  } catch (const std::bad_alloc&) {
    return bmp_failure(Fault::too_large, BmpField::font);
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

Outcome<PictureFont> bmp_load(ByteSource& source, const RGBTRIPLET* palette, uint32_t n) {
  BmpPicture pic;
  if (Status err = bmp_open(source, pic); !err.ok()) return err.failure();
  Conversion c = choose(pic.header, palette, n);
  if (c.refused) {
    // Faults of the file itself come first.
    if (Status err = bmp_read_rows(pic, nullptr, nullptr); !err.ok()) return err.failure();
    return bmp_failure(Fault::usage, BmpField::palette);
  }
  Outcome<SYMBOL> result = make_result(pic.header, c);
  if (!result.ok()) return result.failure();
  if (Status err = bmp_read_rows(pic, &c.converter(), &result.value()); !err.ok())
    return err.failure();
  PictureFont made;
  if (c.match) {
    if (Status err = c.match->finish(result.value(), true); !err.ok()) return err.failure();
    made.defaulted = c.match->defaulted();
  }
  Outcome<SymFontPtr> font = picture_font(std::move(result.value()));
  if (!font.ok()) return font.failure();
  made.font = std::move(font.value());
  return made;
}
