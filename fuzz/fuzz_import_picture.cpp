// Fuzzes tralk-import picture on PNG and BMP files: the input's first byte
// picks the options (bits 0-1: --depth 24, 1, 4 or 8; bit 2: a white or a
// coloured background), the rest is the picture. Decoding a PNG is libpng's
// work; its errors arrive by longjmp, and every path around them is ours:
// the import either fails with a one-line reason or writes a BMP that
// tralk's own reader takes, with the same pixels as the picture read whole.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/fileio.h"
#include "bitmap/symbol.h"
#include "fuzz_support.h"
#include "import/pictures/picture_import.h"
#include "import/pictures/picture_read.h"
#include "tests/support/bmp_as_is.h"
#include "tests/support/symbol_pixels.h"

namespace {

using namespace tralk::importer;

// Larger pictures are written by the same code; reading them back under
// the sanitizers would only slow the fuzzing down.
constexpr uint64_t kLargestReadBack = uint64_t{1} << 20;

void check_one_line(const std::string& error) {
  fuzz::check(!error.empty() && error.find('\n') == std::string::npos,
              "an import failed without a one-line reason");
}

// The colour tralk's reader gives pixel (x, y) of sym, read from a file of
// depth bits whose colour table is table.
RGBTRIPLET colour_read(const SYMBOL& sym, unsigned depth, const std::vector<RGBTRIPLET>& table,
                       uint16_t x, uint16_t y) {
  const uint32_t v = sym_getpixel(sym, x, y);
  if (depth == 24) {
    RGBTRIPLET c;
    rgb_unpack(v, &c, 24);
    return c;
  }
  // At 1 bit a set bit is the darker colour, entry 1 of the importer's table.
  fuzz::check(v < table.size(), "a pixel beyond the colour table");
  return table[v];
}

void check_read_back(const std::string& path, const RgbPicture& pic, unsigned depth,
                     const std::vector<RGBTRIPLET>& written) {
  const std::optional<FileBytes> bytes = read_input_file(path);
  fuzz::check(bytes.has_value(), "an imported picture cannot be read");
  Outcome<BmpAsIs> read = bmp_read_as_is({bytes->data(), bytes->size});
  fuzz::check(read.ok(), "tralk's reader refused an imported picture");
  const SYMBOL& sym = read->sym;
  std::vector<RGBTRIPLET> table = read->table;
  if (depth == 1) table = written;
  SYMSHAPE shape;
  fuzz::check(sym_shape(sym, shape) && shape.width == pic.width && shape.height == pic.height,
              "the picture read back has another size");
  for (uint16_t y = 0; y < shape.height; ++y)
    for (uint16_t x = 0; x < shape.width; ++x)
      fuzz::check(colour_read(sym, depth, table, x, y) == pic.at(x, y),
                  "a pixel read back differs from the one written");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::detach_stdin();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  static const unsigned kDepths[] = {24, 1, 4, 8};
  const fuzz::Scratch& scratch = fuzz::Scratch::get();
  scratch.clear();
  PictureOptions opts;
  PictureRequest& req = opts.request;
  req.path = "in.pic";
  const std::span<const uint8_t> picture(data + 1, size - 1);
  req.depth = kDepths[data[0] & 3];
  if (data[0] & 4) req.background = {16, 128, 240};
  opts.out = (scratch.dir() / "o.bmp").string();

  const Outcome<ImportedPicture> imported =
      import_picture(opts, std::make_unique<MemorySource>(picture));
  if (!imported.ok()) {
    check_one_line(imported.error());
    fuzz::check(imported.code() != Fault::usage, "a picture refused as a bad command line");
    return 0;
  }
  if (uint64_t{imported->width} * imported->height > kLargestReadBack) return 0;
  const Outcome<LoadedPicture> read = read_picture(req, std::make_unique<MemorySource>(picture));
  fuzz::check(read.ok(), "a picture imported cannot be read whole");
  const RgbPicture& pic = read->pixels;
  fuzz::check(pic.width == imported->width && pic.height == imported->height,
              "a picture of the wrong size");
  check_read_back(opts.out, pic, req.depth, imported->table);
  return 0;
}
