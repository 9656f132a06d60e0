// BMP files as ImageMagick and Pillow write them, made in the test from
// patterns the test knows pixel by pixel: each variant must read as the
// plain picture the same tool writes of it, and that one as the pattern.
// Skipped where a tool is not installed (CI installs both).
#include <gtest/gtest.h>

#include <cstdlib>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "base/console.h"
#include "bitmap_test_util.h"
#include "support/run_tralk.h"
#include "support/tempdir.h"

namespace {

constexpr unsigned kWidth = 24;
constexpr unsigned kHeight = 16;

bool succeeds(const std::string& command) {
  return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

bool have_imagemagick() {
  static const bool found = succeeds("convert -version | grep -q ImageMagick");
  return found;
}

// A Python that has Pillow: the one on the path, else the system's (a
// Python of one's own often comes without it).
const std::string& pillow_python() {
  static const std::string found = [] {
    for (const char* python : {"python3", "/usr/bin/python3"}) {
      if (succeeds(std::string(python) + " -c 'import PIL.Image'")) return std::string(python);
    }
    return std::string();
  }();
  return found;
}

// Pixels as 0xRRGGBB, row by row from the top.
using Pattern = std::vector<uint32_t>;

uint32_t rgb(unsigned r, unsigned g, unsigned b) {
  return (r & 0xFF) << 16 | (g & 0xFF) << 8 | (b & 0xFF);
}

// 384 colours that a 5-6-5 writer keeps: each channel a 5- or 6-bit value
// with its bits repeated, and of those only the ones that ImageMagick's
// writer, which rounds v x 31 / 255 (or v x 63 / 255) down, maps back to
// the same 5- or 6-bit value.
Pattern many_colours() {
  static constexpr unsigned kFive[] = {0,  4,  8,  12, 13, 16, 17, 20, 21,
                                       22, 24, 25, 26, 28, 29, 30, 31};
  static constexpr unsigned kSix[] = {0,  16, 17, 18, 19, 20, 21, 32, 33, 34, 35, 36,
                                      37, 38, 39, 40, 41, 42, 48, 49, 50, 51, 52, 53,
                                      54, 55, 56, 57, 58, 59, 60, 61, 62, 63};
  auto five = [](unsigned i) {
    const unsigned v = kFive[i % std::size(kFive)];
    return v << 3 | v >> 2;
  };
  auto six = [](unsigned i) {
    const unsigned v = kSix[i % std::size(kSix)];
    return v << 2 | v >> 4;
  };
  Pattern p;
  for (unsigned y = 0; y < kHeight; ++y)
    for (unsigned x = 0; x < kWidth; ++x) {
      const unsigned i = y * kWidth + x;  // red and green together tell every pixel apart
      p.push_back(rgb(five(i), six(i / std::size(kFive)), five(7 * x + 3 * y)));
    }
  return p;
}

// 40 colours: more than a 4-bit picture holds, so writers choose 8 bits.
Pattern few_colours() {
  Pattern p;
  for (unsigned y = 0; y < kHeight; ++y)
    for (unsigned x = 0; x < kWidth; ++x) {
      const unsigned k = (x + 3 * y) % 40;
      p.push_back(rgb(6 * k, 255 - 6 * k, 37 * k));
    }
  return p;
}

Pattern grey_levels() {
  Pattern p;
  for (unsigned y = 0; y < kHeight; ++y)
    for (unsigned x = 0; x < kWidth; ++x) {
      const unsigned v = (11 * x + 7 * y) % 256;
      p.push_back(rgb(v, v, v));
    }
  return p;
}

// Netpbm files of the pattern: PPM, PGM (its red channel) or PAM with the
// given alpha per pixel.
std::string netpbm(const Pattern& p, char kind, const std::vector<uint8_t>& alpha = {}) {
  const std::string size = std::to_string(kWidth) + " " + std::to_string(kHeight);
  std::string out = kind == '7' ? "P7\nWIDTH " + std::to_string(kWidth) + "\nHEIGHT " +
                                      std::to_string(kHeight) +
                                      "\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n"
                                : std::string("P") + kind + "\n" + size + "\n255\n";
  for (size_t i = 0; i < p.size(); ++i) {
    out += static_cast<char>(p[i] >> 16);
    if (kind == '5') continue;
    out += static_cast<char>(p[i] >> 8);
    out += static_cast<char>(p[i]);
    if (kind == '7') out += static_cast<char>(alpha.at(i));
  }
  return out;
}

struct Read {
  std::string console;
  SYMBOL sym;
  std::vector<RGBTRIPLET> table;
};

Read read(const std::string& path) {
  Read r;
  con_capture_begin();
  const std::string bytes = TempDir::read(path);
  r.sym = bmp_read(std::vector<uint8_t>(bytes.begin(), bytes.end()), nullptr, &r.table);
  r.console = con_capture_end();
  return r;
}

// Every pixel's colour: 24-bit pixels as they are, indices through the table.
Pattern colours_of(const Read& r) {
  Pattern out;
  for (uint32_t v : pixels_of(r.sym)) {
    if (r.table.empty()) {
      out.push_back(v);
    } else {
      const RGBTRIPLET& c = r.table.at(v);
      out.push_back(rgb(c.r, c.g, c.b));
    }
  }
  return out;
}

// Header size, bits per pixel and compression as the file states them: the
// variant a writer chose.
using Form = std::tuple<uint32_t, unsigned, uint32_t>;

Form form_of(const std::string& path) {
  const std::string b = TempDir::read(path);
  if (b.size() < 34) return {};
  auto at = [&b](size_t i, unsigned n) {
    uint32_t v = 0;
    for (unsigned k = 0; k < n; ++k) v |= uint32_t{static_cast<uint8_t>(b[i + k])} << (8 * k);
    return v;
  };
  const uint32_t info = at(14, 4);
  if (info == 12) return {info, at(24, 2), 0};
  return {info, at(28, 2), at(30, 4)};
}

constexpr uint32_t kRgb = 0;
constexpr uint32_t kRle8 = 1;
constexpr uint32_t kBitfields = 3;

struct Written {
  const char* options;  // convert's options and output name, after the input
  Form form;
};

// Writes each variant with convert from input and checks that it is the
// variant meant and reads as the twin.
void expect_as_twin(const TempDir& dir, const std::string& input, const Read& twin,
                    const std::vector<Written>& variants) {
  for (const auto& v : variants) {
    ASSERT_TRUE(succeeds("cd " + shell_quote(dir.str()) + " && convert " + input + " " + v.options))
        << v.options;
    const std::string path = dir / "out.bmp";
    EXPECT_EQ(form_of(path), v.form) << v.options;
    const Read r = read(path);
    EXPECT_EQ(r.console, "") << v.options;
    EXPECT_EQ(r.sym, twin.sym) << v.options;
    EXPECT_EQ(r.table, twin.table) << v.options;
  }
}

}  // namespace

TEST(BitmapBmpTools, ImageMagickTrueColour) {
  if (!have_imagemagick()) GTEST_SKIP() << "ImageMagick's convert is not installed";
  TempDir dir;
  const Pattern many = many_colours();
  dir.write("many.ppm", netpbm(many, '6'));
  dir.write("opaque.pam", netpbm(many, '7', std::vector<uint8_t>(many.size(), 255)));
  ASSERT_TRUE(succeeds("cd " + shell_quote(dir.str()) +
                       " && convert many.ppm many.png && convert opaque.pam opaque.png"));
  ASSERT_TRUE(succeeds("cd " + shell_quote(dir.str()) +
                       " && convert many.png -type TrueColor -compress none BMP3:twin.bmp"));
  ASSERT_EQ(form_of(dir / "twin.bmp"), Form(40, 24, kRgb));
  const Read twin = read(dir / "twin.bmp");
  ASSERT_EQ(twin.console, "");
  ASSERT_EQ(colours_of(twin), many);
  expect_as_twin(dir, "many.png", twin,
                 {
                     {"out.bmp", {124, 24, kRgb}},
                     {"-define bmp:subtype=RGB565 out.bmp", {124, 16, kBitfields}},
                     {"BMP2:out.bmp", {12, 24, kRgb}},
                     {"BMP3:out.bmp", {40, 24, kRgb}},
                 });
  // An alpha channel, every pixel opaque: 32 bits with an alpha mask.
  expect_as_twin(dir, "opaque.png", twin, {{"out.bmp", {124, 32, kBitfields}}});
}

TEST(BitmapBmpTools, ImageMagickPalette) {
  if (!have_imagemagick()) GTEST_SKIP() << "ImageMagick's convert is not installed";
  TempDir dir;
  const Pattern few = few_colours();
  dir.write("few.ppm", netpbm(few, '6'));
  ASSERT_TRUE(succeeds("cd " + shell_quote(dir.str()) +
                       " && convert few.ppm few.png &&"
                       " convert few.png -type Palette -compress none BMP3:twin.bmp"));
  ASSERT_EQ(form_of(dir / "twin.bmp"), Form(40, 8, kRgb));
  const Read twin = read(dir / "twin.bmp");
  ASSERT_EQ(twin.console, "");
  ASSERT_EQ(colours_of(twin), few);
  expect_as_twin(dir, "few.png", twin,
                 {
                     {"out.bmp", {124, 8, kRle8}},
                     {"-type Palette out.bmp", {124, 8, kRle8}},
                     {"BMP2:out.bmp", {12, 8, kRgb}},
                     {"BMP3:out.bmp", {40, 8, kRle8}},
                 });
}

TEST(BitmapBmpTools, ImageMagickTransparencyRefused) {
  if (!have_imagemagick()) GTEST_SKIP() << "ImageMagick's convert is not installed";
  TempDir dir;
  const Pattern many = many_colours();
  std::vector<uint8_t> alpha(many.size(), 255);
  alpha[3 * kWidth + 5] = 128;
  dir.write("clear.pam", netpbm(many, '7', alpha));
  ASSERT_TRUE(succeeds("cd " + shell_quote(dir.str()) +
                       " && convert clear.pam clear.png && convert "
                       "clear.png out.bmp"));
  const std::string path = dir / "out.bmp";
  EXPECT_EQ(form_of(path), Form(124, 32, kBitfields));
  const Read r = read(path);
  EXPECT_EQ(r.console, "Error: BMP transparency not supported File \"p.bmp\"");
  EXPECT_TRUE(r.sym.empty());
}

TEST(BitmapBmpTools, Pillow) {
  const std::string& python = pillow_python();
  if (python.empty()) GTEST_SKIP() << "no Python with Pillow (python3-pil) is installed";
  TempDir dir;
  const Pattern many = many_colours();
  const Pattern few = few_colours();
  const Pattern grey = grey_levels();
  std::vector<uint8_t> alpha;
  for (size_t i = 0; i < many.size(); ++i) alpha.push_back(static_cast<uint8_t>(i * 5));
  dir.write("many.ppm", netpbm(many, '6'));
  dir.write("few.ppm", netpbm(few, '6'));
  dir.write("grey.pgm", netpbm(grey, '5'));
  Pattern alpha_pattern;
  for (uint8_t a : alpha) alpha_pattern.push_back(rgb(a, a, a));
  dir.write("alpha.pgm", netpbm(alpha_pattern, '5'));
  // P is built from the exact colours (Pillow's own conversion to P would
  // dither); each picture's 24-bit form is written beside it.
  dir.write("write.py",
            "import sys\n"
            "from PIL import Image\n"
            "rgb = Image.open('many.ppm')\n"
            "rgb.save('rgb.bmp')\n"
            "rgba = rgb.copy()\n"
            "rgba.putalpha(Image.open('alpha.pgm'))\n"
            "rgba.save('rgba.bmp')\n"
            "few = Image.open('few.ppm')\n"
            "colours = sorted(set(few.getdata()))\n"
            "p = Image.new('P', few.size)\n"
            "p.putpalette([v for c in colours for v in c])\n"
            "p.putdata([colours.index(c) for c in few.getdata()])\n"
            "p.save('p.bmp')\n"
            "p.convert('RGB').save('p24.bmp')\n"
            "grey = Image.open('grey.pgm')\n"
            "grey.save('l.bmp')\n"
            "grey.convert('RGB').save('l24.bmp')\n");
  ASSERT_TRUE(succeeds("cd " + shell_quote(dir.str()) + " && " + python + " write.py"));

  struct Case {
    const char* name;
    Form form;
    const char* twin;  // the 24-bit picture of the same pixels
    const Pattern& pattern;
  };
  const Case cases[] = {
      {"rgb.bmp", {40, 24, kRgb}, "rgb.bmp", many},
      // The fourth byte of a BI_RGB pixel is reserved: Pillow's alpha is not read.
      {"rgba.bmp", {40, 32, kRgb}, "rgb.bmp", many},
      {"p.bmp", {40, 8, kRgb}, "p24.bmp", few},
      {"l.bmp", {40, 8, kRgb}, "l24.bmp", grey},
  };
  for (const auto& c : cases) {
    const std::string path = dir / c.name;
    EXPECT_EQ(form_of(path), c.form) << c.name;
    const Read r = read(path);
    EXPECT_EQ(r.console, "") << c.name;
    const Read twin = read(dir / c.twin);
    EXPECT_EQ(form_of(dir / c.twin), Form(40, 24, kRgb)) << c.name;
    EXPECT_EQ(colours_of(r), colours_of(twin)) << c.name;
    EXPECT_EQ(colours_of(r), c.pattern) << c.name;
    if (r.table.empty()) {
      EXPECT_EQ(r.sym, twin.sym) << c.name;
    }
  }
}
