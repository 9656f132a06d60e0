// The generated files as a target uses them: the C compiled against the
// display library header, the image read by following its block sizes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <sstream>

#include "base/console.h"
#include "output/output_helpers.h"
#include "output/vfont.h"
#include "output/vmem.h"

using namespace output_test;

namespace {

using ListMaker = std::function<std::vector<FontSpec>()>;

SymFontPtr without_symbols() {
  SymFontPtr font = make_font(0, 7, 7, {8}, 0);
  font->symdata.clear();
  return font;
}

std::vector<FontSpec> example_list() {
  std::vector<FontSpec> fonts;
  fonts.push_back({"font8x7", example_font()});
  return fonts;
}

std::vector<FontSpec> colour_list() {
  std::vector<FontSpec> fonts;
  uint8_t seed = 0;
  for (uint16_t bits : {1, 2, 4, 8, 16, 24}) {
    fonts.push_back({"c" + std::to_string(bits), make_font(bits, 4, 3 * bits, {5, 9, 7}, seed)});
    seed = static_cast<uint8_t>(seed + 0x30);
  }
  fonts.push_back({"bw", make_font(0, 12, 24, {10, 12, 13, 11}, 0x77)});
  return fonts;
}

std::vector<FontSpec> mixed_list() {
  std::vector<FontSpec> fonts;
  fonts.push_back({"plain", example_colour_font()});
  fonts.push_back({"ghost", without_symbols()});
  fonts.push_back({"paged", example_font()});
  return fonts;
}

std::vector<FontSpec> codepage_list() {
  std::vector<FontSpec> fonts;
  fonts.push_back({"latin", example_font()});
  SymFontPtr colour = make_font(8, 16, 128, {8, 8, 8}, 0x11);
  colour->codepage = make_cp(0x3F, {{0x20, 0x21, 0}, {0xA0, 0xA0, 2}, {0x41, 0x41, 1}});
  fonts.push_back({"greek", std::move(colour)});
  return fonts;
}

struct TargetCase {
  const char* binname;
  const char* id;
  unsigned long id_value;  // the device identifier as the compiler sees it
  ListMaker fonts;
};

const TargetCase kCases[] = {
    {"fonts.bin", "0", 0, example_list},
    {"colours.bin", "0x10", 16, colour_list},
    {"my-fonts.bin", "(2+1)", 3, mixed_list},
    {"1demo.bin", "0", 0, codepage_list},
};

// "name.bin" -> "name"
std::string base_of(const std::string& binname) {
  return binname.substr(0, binname.size() - 4);
}

// What a structure of the generated source states, as a target reads it.
struct StructValues {
  unsigned long symindex = 0;
  unsigned long rangeindex = 0;
};

// The number at the start of the line holding `comment`, after `from`.
unsigned long number_before(const std::string& text, size_t from, const std::string& comment) {
  const size_t at = text.find(comment, from);
  if (at == std::string::npos) return ~0ul;
  return std::stoul(text.substr(text.rfind('\n', at) + 1));
}

bool parse_struct(const std::string& source, const std::string& name, StructValues* v) {
  const size_t font = source.find("GCODE GFONTV FCODE " + name + " =\n");
  if (font == std::string::npos) return false;
  v->symindex = number_before(source, font, "/* symbol offset in virtual memory */");
  const size_t cp = source.find("static GCODE GCODEPAGEV FCODE " + name + "_cp =\n");
  if (cp != std::string::npos) {
    v->rangeindex = number_before(source, cp, "/* Storage index to base of array");
  }
  return true;
}

uint16_t u16(const std::string& img, size_t at) {
  return get_u16le(reinterpret_cast<const uint8_t*>(img.data() + at));
}
uint32_t u32(const std::string& img, size_t at) {
  return get_u32le(reinterpret_cast<const uint8_t*>(img.data() + at));
}

TEST(VfontTarget, ImageReadBackMatchesInputFonts) {
  for (const TargetCase& c : kCases) {
    SCOPED_TRACE(c.binname);
    TempDir dir;
    FONTLIST list = make_list(dir / c.binname, c.id, c.fonts());
    con_capture_begin();
    ASSERT_TRUE(vfont_generate(list, vmem_layout(list)));
    con_capture_end();
    const std::string image = read_file(dir / c.binname);
    const std::string csource = read_file(dir / (base_of(c.binname) + ".c"));

    size_t block = 0;
    for (const FONTENTRY& e : list.entries) {
      SCOPED_TRACE(e.name);
      const SYMFONT& f = *e.font;
      ASSERT_LE(block + 40, image.size());
      const uint32_t size = u32(image, block);
      ASSERT_EQ(size % 4, 0u);
      ASSERT_LE(block + size, image.size());
      EXPECT_EQ(u16(image, block + 10), f.symwidth);
      EXPECT_EQ(u16(image, block + 12), f.symheight);
      EXPECT_EQ(u16(image, block + 16), f.numsym);
      EXPECT_EQ(u32(image, block + 18), f.symbytes);

      StructValues sv;
      if (f.symdata.empty()) {
        EXPECT_FALSE(parse_struct(csource, e.name, &sv));
        EXPECT_EQ(u32(image, block + 30), 0u);
        block += size;
        continue;
      }
      ASSERT_TRUE(parse_struct(csource, e.name, &sv));
      EXPECT_EQ(u32(image, block + 30), sv.symindex);
      const size_t stride = sym_header_size(f) + f.symbytes;
      const size_t width_at = sym_is_colour(f) ? 4 : 0;
      size_t at = sv.symindex;
      for (size_t i = 0; i < f.numsym; ++i, at += 2 + f.symbytes) {
        ASSERT_LE(at + 2 + f.symbytes, block + size) << "symbol " << i << " outside its block";
        EXPECT_EQ(u16(image, at), sym_header(f.symdata.data() + i * stride, width_at / 2));
        const std::string pixels(
            f.symdata.begin() + static_cast<long>(i * stride + stride - f.symbytes),
            f.symdata.begin() + static_cast<long>((i + 1) * stride));
        EXPECT_EQ(image.substr(at + 2, f.symbytes), pixels) << "symbol " << i;
      }
      if (f.codepage) {
        const CPTABLE& cp = *f.codepage;
        EXPECT_EQ(u32(image, block + 22) + 4, sv.rangeindex);
        EXPECT_EQ(u16(image, sv.rangeindex - 4), cp.numranges);
        EXPECT_EQ(u16(image, sv.rangeindex - 2), cp.defchar);
        for (size_t v = 0; v < cp.ranges.size(); ++v) {
          EXPECT_EQ(u16(image, sv.rangeindex + 2 * v), cp.ranges[v]);
        }
      }
      block += size;
    }
    EXPECT_EQ(block, image.size()) << "the blocks make up the whole image";
  }
}

int run(const std::string& command, const std::string& log) {
  return std::system((command + " >'" + log + "' 2>&1").c_str());
}

std::string checker_source(const FONTLIST& list, const std::string& header) {
  std::string c = "#include <stdio.h>\n#include <" + header + ">\nint main(void) {\n";
  for (const FONTENTRY& e : list.entries) {
    if (e.font->symdata.empty()) continue;  // declared, never defined
    const std::string& n = e.name;
    c += "  printf(\"" + n + " %u %u %u %u %u %u %lu %lu %lu\", " + n + ".ext_id, " + n +
         ".type_id, " + n + ".numbits, " + n + ".symwidth, " + n + ".symheight, " + n +
         ".numsym, " + n + ".symbytes, " + n + ".sym_index, " + n + ".device_id);\n";
    c += "  if (" + n + ".codepage) printf(\" %u %u %u %u %lu\", " + n + ".codepage->ext_id, " + n +
         ".codepage->type_id, " + n + ".codepage->numranges, " + n + ".codepage->defchar, " + n +
         ".codepage->range_index);\n";
    c += "  printf(\"\\n\");\n";
  }
  return c + "  return 0;\n}\n";
}

// The values the structures must carry, from an image built on the side.
std::string expected_values(const FONTLIST& list, unsigned long id_value) {
  std::ostringstream out;
  VMEMBUF image;
  for (const FONTENTRY& e : list.entries) {
    const SYMFONT& f = *e.font;
    const FONTBLOCK block = vmem_addfont(image, f).value();
    const uint32_t symindex = block.symindex, rangeindex = block.rangeindex;
    if (f.symdata.empty()) continue;
    out << e.name << " 0 1 " << sym_numbits(f) << ' ' << f.symwidth << ' ' << f.symheight << ' '
        << f.numsym << ' ' << f.symbytes << ' ' << symindex << ' ' << id_value;
    if (f.codepage) {
      out << " 0 1 " << f.codepage->numranges << ' ' << f.codepage->defchar << ' ' << rangeindex;
    }
    out << '\n';
  }
  return out.str();
}

TEST(VfontTarget, GeneratedSourceCompilesAgainstDisplayHeader) {
  ASSERT_EQ(std::system("command -v cc >/dev/null 2>&1"), 0) << "a C compiler named cc is needed";
  const std::string flags = "cc -std=c99 -Wall -Wextra -Werror -pedantic";
  const std::string fixtures = TRALK_FIXTURES;
  for (const TargetCase& c : kCases) {
    SCOPED_TRACE(c.binname);
    TempDir dir;
    FONTLIST list = make_list(dir / c.binname, c.id, c.fonts());
    con_capture_begin();
    ASSERT_TRUE(vfont_generate(list, vmem_layout(list)));
    con_capture_end();
    const std::string base = base_of(c.binname);
    const std::string includes = " -I'" + fixtures + "' -I'" + dir.str() + "'";
    const std::string log = dir / "cc.log";

    ASSERT_EQ(run(flags + " -c '" + dir / (base + ".c") + "'" + includes + " -o '" +
                      dir / "fonts.o" + "'",
                  log),
              0)
        << read_file(log);
    write_file(dir / "check.c", checker_source(list, base + ".h"));
    ASSERT_EQ(
        run(flags + " -c '" + dir / "check.c" + "'" + includes + " -o '" + dir / "check.o" + "'",
            log),
        0)
        << read_file(log);
    ASSERT_EQ(
        run("cc '" + dir / "check.o" + "' '" + dir / "fonts.o" + "' -o '" + dir / "check" + "'",
            log),
        0)
        << read_file(log);
    ASSERT_EQ(run("'" + dir / "check" + "'", dir / "values.txt"), 0);
    EXPECT_EQ(read_file(dir / "values.txt"), expected_values(list, c.id_value));
  }
}

}  // namespace
