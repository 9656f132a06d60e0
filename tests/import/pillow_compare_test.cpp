// Outline glyphs checked against another rasteriser: DejaVu Sans imported
// in grey levels, symbol by symbol and pixel by pixel, against Pillow's
// rendering of the same characters at the same size. The cell each glyph
// must land in is worked out here from Pillow's ink and advances alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>

#include "bitmap/symbol.h"
#include "import/import_helpers.h"

namespace {

using import_test::kDejaVuSans;
using import_test::run_import;

// Prints, per character: code, advance, ink box (left and top relative to
// the origin on the baseline, width, height) and the coverage in it.
const char kPillowScript[] = R"(import sys
from PIL import Image, ImageDraw, ImageFont
path, size = sys.argv[1], int(sys.argv[2])
font = ImageFont.truetype(path, size, layout_engine=ImageFont.Layout.BASIC)
side = 4 * size + 64
ox = oy = side // 2
for code in (int(c, 16) for c in sys.argv[3].split(',')):
    ch = chr(code)
    im = Image.new('L', (side, side), 0)
    ImageDraw.Draw(im).text((ox, oy), ch, font=font, fill=255, anchor='ls')
    box = im.getbbox()
    advance = font.getlength(ch)
    if box is None:
        print('%X %g 0 0 0 0 -' % (code, advance))
        continue
    x0, y0, x1, y1 = box
    print('%X %g %d %d %d %d %s' % (code, advance, x0 - ox, y0 - oy, x1 - x0, y1 - y0,
                                    im.crop(box).tobytes().hex()))
)";

// Debian's python3-pil is installed for the system Python.
const char kPython[] = "/usr/bin/python3";

struct PillowGlyph {
  int advance = 0;
  int left = 0, top = 0, width = 0, height = 0;
  std::vector<uint8_t> coverage;  // 0 to 255, rows top first
};

std::map<uint32_t, PillowGlyph> parse_pillow(const std::string& out) {
  std::map<uint32_t, PillowGlyph> glyphs;
  std::istringstream in(out);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    uint32_t code = 0;
    double advance = 0;
    PillowGlyph g;
    std::string hex;
    fields >> std::hex >> code >> std::dec >> advance >> g.left >> g.top >> g.width >> g.height >>
        hex;
    g.advance = static_cast<int>(advance);
    for (size_t i = 0; hex != "-" && i + 1 < hex.size(); i += 2)
      g.coverage.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    glyphs[code] = g;
  }
  return glyphs;
}

// Pillow's glyph reduced to the ink levels of the depth: the same box
// trimmed to the pixels whose level is not 0.
struct Ink {
  int advance = 0;
  int left = 0, top = 0, right = 0, bottom = 0;  // right, bottom past the ink
  bool any = false;
  std::map<std::pair<int, int>, uint32_t> levels;  // (x, y) from the origin

  uint32_t at(int x, int y) const {
    const auto it = levels.find({x, y});
    return it == levels.end() ? 0 : it->second;
  }
};

Ink ink_of(const PillowGlyph& g, unsigned bpp) {
  Ink ink;
  ink.advance = g.advance;
  const uint32_t max = (1u << bpp) - 1;
  for (int y = 0; y < g.height; ++y)
    for (int x = 0; x < g.width; ++x) {
      const uint32_t cov = g.coverage[size_t(y) * g.width + x];
      const uint32_t level = (2 * cov * max + 255) / 510;  // nearest, halves up
      if (!level) continue;
      const int px = g.left + x, py = g.top + y;
      ink.levels[{px, py}] = level;
      ink.left = ink.any ? std::min(ink.left, px) : px;
      ink.top = ink.any ? std::min(ink.top, py) : py;
      ink.right = ink.any ? std::max(ink.right, px + 1) : px + 1;
      ink.bottom = ink.any ? std::max(ink.bottom, py + 1) : py + 1;
      ink.any = true;
    }
  return ink;
}

std::string codes_text(const std::vector<uint32_t>& codes) {
  std::string out;
  for (const uint32_t c : codes) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%s%X", out.empty() ? "" : ",", c);
    out += buf;
  }
  return out;
}

std::vector<uint32_t> codes_of(const std::vector<std::pair<uint32_t, uint32_t>>& runs) {
  std::vector<uint32_t> codes;
  for (const auto& [first, last] : runs)
    for (uint32_t c = first; c <= last; ++c) codes.push_back(c);
  return codes;
}

// Compares every symbol of the imported font with Pillow's glyph of its
// character; returns one line per symbol that differs.
std::vector<std::string> compare(const SYMFONT& font, const std::vector<uint32_t>& codes,
                                 const std::map<uint32_t, Ink>& inks, unsigned bpp) {
  // The cell: the union of every glyph's ink.
  int top = 0, bottom = 0;
  for (const auto& [code, ink] : inks)
    if (ink.any) top = std::min(top, ink.top), bottom = std::max(bottom, ink.bottom);
  std::vector<std::string> diffs;
  const uint32_t max = (1u << bpp) - 1;
  const size_t stride = kColourHeaderSize + font.symbytes;
  for (size_t i = 0; i < codes.size(); ++i) {
    const Ink& ink = inks.at(codes[i]);
    const uint8_t* sym = font.symdata.data() + i * stride;
    const int width = sym_header(sym, 2), height = sym_header(sym, 3);
    // The advance, widened to hold ink left of the origin or beyond it.
    const int left = ink.any ? std::min(0, ink.left) : 0;
    const int want_width = (ink.any ? std::max(ink.advance, ink.right) : ink.advance) - left;
    char what[64];
    std::snprintf(what, sizeof what, "U+%04X", codes[i]);
    if (width != want_width || height != bottom - top) {
      diffs.push_back(std::string(what) + ": " + std::to_string(width) + " x " +
                      std::to_string(height) + ", Pillow's cell " + std::to_string(want_width) +
                      " x " + std::to_string(bottom - top));
      continue;
    }
    const uint32_t rowbytes = sym_rowbytes(static_cast<uint16_t>(width), uint16_t(bpp));
    int differing = 0;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        const uint32_t got = sym_row_getpixel(sym + kColourHeaderSize + y * rowbytes, x, bpp);
        differing += got != max - ink.at(x + left, y + top);
      }
    if (differing)
      diffs.push_back(std::string(what) + ": " + std::to_string(differing) + " pixels differ");
  }
  return diffs;
}

TEST(ImportPillow, GreyGlyphsMatchPillowAtTwoSizes) {
  if (std::system((std::string(kPython) + " -c 'import PIL' 2>/dev/null").c_str()) != 0)
    GTEST_SKIP() << "Pillow is not installed for " << kPython << " (Debian python3-pil)";
  const std::vector<uint32_t> codes = codes_of({{0x20, 0x7E}, {0xA0, 0xFF}, {0x400, 0x45F}});
  struct Size {
    unsigned px, bpp;
  };
  for (const Size s : {Size{11, 4}, Size{16, 8}}) {
    TempDir dir;
    dir.write("pillow.py", kPillowScript);
    const std::string px = std::to_string(s.px);
    const std::string cmd = "cd " + shell_quote(dir.str()) + " && " + kPython + " pillow.py " +
                            shell_quote(kDejaVuSans) + " " + px + " " + codes_text(codes) +
                            " > pillow.txt";
    ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
    const std::map<uint32_t, PillowGlyph> pillow =
        parse_pillow(TempDir::read(dir.file("pillow.txt")));
    ASSERT_EQ(pillow.size(), codes.size());
    std::map<uint32_t, Ink> inks;
    for (const auto& [code, g] : pillow) inks[code] = ink_of(g, s.bpp);

    const RunResult r = run_import(dir.path(), "font " + shell_quote(kDejaVuSans) + " --size " +
                                                   px + " --bpp " + std::to_string(s.bpp) +
                                                   " -r 0x20-0x7E,0xA0-0xFF,0x400-0x45F -o d.sym");
    ASSERT_EQ(r.status, 0) << r.out;
    con_capture_begin();
    std::optional<std::string> cpname;
    const SymFontPtr font = load_font_file(dir.file("d.sym"), cpname);
    con_capture_end();
    ASSERT_TRUE(font);
    ASSERT_EQ(font->numsym, codes.size());
    // Every glyph is compared, and none may differ.
    const std::vector<std::string> diffs = compare(*font, codes, inks, s.bpp);
    std::string listed;
    for (const std::string& d : diffs) listed += "\n  " + d;
    EXPECT_TRUE(diffs.empty()) << px << " px, " << s.bpp << " bits: " << diffs.size()
                               << " glyphs differ from Pillow's:" << listed;
  }
}

}  // namespace
