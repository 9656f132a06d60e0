// PNG pictures written by Pillow and flattened by Pillow's own compositing
// (Image.alpha_composite over an opaque background), against the importer's
// flattening of the same files as tralk's reader reads the result: another
// PNG writer, another decoder and another blend, which must agree pixel for
// pixel with the rounding the importer documents.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>

#include "base/fileio.h"
#include "bitmap/symbol.h"
#include "import/import_helpers.h"
#include "support/bmp_as_is.h"

namespace {

using import_test::run_import;

// Writes one picture of each kind and prints, per picture, its name and its
// pixels flattened onto (16, 128, 240) as hexadecimal red, green, blue.
const char kPillowScript[] = R"(import random
from PIL import Image
random.seed(12)
w, h = 64, 8
def some(n): return [random.randrange(256) for _ in range(n)]
every_alpha = [(x * 4 + y) % 256 for y in range(h) for x in range(w)]
pictures = {}
pictures['rgba'] = Image.new('RGBA', (w, h))
pictures['rgba'].putdata([(r, g, b, a) for (r, g, b), a in
                          zip(zip(some(w * h), some(w * h), some(w * h)), every_alpha)])
pictures['la'] = Image.new('LA', (w, h))
pictures['la'].putdata(list(zip(some(w * h), every_alpha)))
pictures['p'] = Image.new('P', (w, h))
pictures['p'].putpalette(some(768))
pictures['p'].putdata(some(w * h))
pictures['rgb'] = Image.new('RGB', (w, h))
pictures['rgb'].putdata(list(zip(some(w * h), some(w * h), some(w * h))))
pictures['l'] = Image.new('L', (w, h))
pictures['l'].putdata(some(w * h))
pictures['bw'] = Image.new('1', (w, h))
pictures['bw'].putdata([v & 1 for v in some(w * h)])
for name, im in pictures.items():
    extra = {'transparency': bytes(some(256))} if name == 'p' else {}
    im.save(name + '.png', **extra)
    src = Image.open(name + '.png').convert('RGBA')
    ground = Image.new('RGBA', src.size, (16, 128, 240, 255))
    print(name, Image.alpha_composite(ground, src).convert('RGB').tobytes().hex())
)";

const char kPython[] = "/usr/bin/python3";

std::string hex_pixels(const SYMBOL& sym) {
  SYMSHAPE shape;
  if (sym.empty() || !sym_shape(sym, shape) || shape.numbits != 24) return "not a 24-bit picture";
  std::string out;
  char byte[3];
  for (uint32_t y = 0; y < shape.height; ++y)
    for (uint32_t x = 0; x < shape.rowbytes; ++x) {
      std::snprintf(byte, sizeof byte, "%02x", sym_row(sym, shape, y)[x]);
      out += byte;
    }
  return out;
}

TEST(PicturePillow, FlattenedAsPillowCompositesThem) {
  if (std::system((std::string(kPython) + " -c 'import PIL' 2>/dev/null").c_str()) != 0)
    GTEST_SKIP() << "Pillow is not installed for " << kPython << " (Debian python3-pil)";
  const TempDir dir;
  dir.write("pillow.py", kPillowScript);
  const std::string cmd =
      "cd " + shell_quote(dir.str()) + " && " + kPython + " pillow.py > pillow.txt";
  ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
  std::istringstream lines(TempDir::read(dir / "pillow.txt"));
  std::string name, expected;
  int pictures = 0;
  while (lines >> name >> expected) {
    ++pictures;
    const RunResult r =
        run_import(dir.path(), "picture " + name + ".png --background 1080F0 -o " + name + ".bmp");
    EXPECT_EQ(r.status, 0) << name << ": " << r.out;
    const std::optional<FileBytes> bytes = read_input_file(dir / (name + ".bmp"));
    Outcome<BmpAsIs> read =
        bytes ? bmp_read_as_is({bytes->data(), bytes->size}) : Outcome<BmpAsIs>(Failure{});
    const SYMBOL sym = read.ok() ? std::move(read->sym) : SYMBOL{};
    EXPECT_EQ(hex_pixels(sym), expected) << name;
  }
  EXPECT_EQ(pictures, 6);
}

}  // namespace
