#include "bitmap/bmp_read.h"

#include <filesystem>
#include <new>
#include <system_error>

#include "base/console.h"
#include "bitmap/bmp_rows.h"
#include "bitmap/symbol.h"

Status bmp_open(const char* path, bool have_table, BmpPicture& pic) {
  pic.file = file_open(path, "rb");
  if (!pic.file) return Failure{Fault::io, "\n Open error"};
  std::error_code ec;
  const uint64_t size = std::filesystem::file_size(path, ec);
  pic.in = std::make_unique<ByteReader>(pic.file.get());
  return bmp_read_header(*pic.in, ec ? 0 : size, have_table, pic.header);
}

Status bmp_read_rows(BmpPicture& pic, RowConverter* conv, SYMBOL* result) {
  SYMSHAPE shape;
  if (conv) sym_shape(*result, shape);
  BmpRows rows(*pic.in, pic.header);
  return rows.for_each([&](uint32_t y, const uint8_t* pixels) {
    if (conv) conv->convert(pixels, sym_row(*result, shape, y), shape.width);
  });
}

namespace {

Status read_as_is(const char* path, bool have_table, BmpPicture& pic, SYMBOL& sym) {
  if (Status err = bmp_open(path, have_table, pic); !err.ok()) return err;
  const BmpHeader& h = pic.header;
  try {
    sym = sym_blank(h.width, h.height, h.depth());
  } catch (const std::bad_alloc&) {
    return Failure{Fault::too_large, "Error heap alloc"};
  }
  // Symbols hold 24-bit pixels as red, green, blue.
  RepackRows as_is(h.depth(), h.depth(), Order::bgr);
  return bmp_read_rows(pic, &as_is, &sym);
}

}  // namespace

SYMBOL bmp_read(const char* path, uint32_t* size, std::vector<RGBTRIPLET>* palette) {
  if (!path) return {};
  BmpPicture pic;
  SYMBOL sym;
  if (Status read = read_as_is(path, palette != nullptr, pic, sym); !read.ok()) {
    con_printf("%s File \"%s\"", read.error().c_str(), path);
    return {};
  }
  if (size) *size = sym_databytes(sym);
  if (palette) {
    palette->clear();
    if (pic.header.bits == 4 || pic.header.bits == 8) *palette = std::move(pic.header.table);
  }
  return sym;
}
