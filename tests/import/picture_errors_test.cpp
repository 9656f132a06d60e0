// Every way "tralk-import picture" can fail: the one-line message, the exit
// status, and that no file is left behind and an old output is kept.
#include <gtest/gtest.h>
#include <zlib.h>

#include <string>

#include "import/import_helpers.h"
#include "import/png_maker.h"
#include "support/bmp_builder.h"

namespace {

using import_test::files_in;
using import_test::run_import;

PngLayout grey_row(uint32_t width) {
  PngLayout s;
  s.colour_type = PNG_COLOR_TYPE_GRAY;
  s.bit_depth = 1;
  s.width = width;
  s.samples.assign(width, 1);
  return s;
}

void put32be(std::string& png, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) png[at + i] = static_cast<char>(v >> (24 - 8 * i));
}

// A PNG whose header claims width x height pixels, its checksum made right.
std::string claiming(std::string png, uint32_t width, uint32_t height) {
  put32be(png, 16, width);
  put32be(png, 20, height);
  const auto* ihdr = reinterpret_cast<const Bytef*>(png.data() + 12);
  put32be(png, 29, static_cast<uint32_t>(crc32(0, ihdr, 17)));
  return png;
}

// A header that claims 20000 x 20000 pixels over the data of 8.
const std::string kHuge = claiming(png_make(grey_row(8)), 20000, 20000);

struct Case {
  std::string args;
  int status;
  std::string message;  // after "tralk-import picture: "
};

const Case kCases[] = {
    // Pictures that cannot be read.
    {"missing.png -o o.bmp", 1, "cannot read \"missing.png\": No such file or directory"},
    {"folder -o o.bmp", 1, "cannot read \"folder\": Is a directory"},
    {"text.png -o o.bmp", 1, "\"text.png\" is neither a PNG nor a BMP picture"},
    {"empty.png -o o.bmp", 1, "\"empty.png\" is neither a PNG nor a BMP picture"},
    {"crc.png -o o.bmp", 1, "cannot read \"crc.png\": IHDR: CRC error"},
    {"cut.png -o o.bmp", 1, "cannot read \"cut.png\": the file is cut short"},
    {"noiend.png -o o.bmp", 1, "cannot read \"noiend.png\": the file is cut short"},
    {"huge.png -o o.bmp", 1,
     "\"huge.png\" claims 20000 x 20000 pixels, more than its " + std::to_string(kHuge.size()) +
         " bytes can hold (a damaged file?)"},
    {"wide.png -o o.bmp", 1,
     "\"wide.png\" is 21846 x 1 pixels, wider than the 21845 pixels that tralk reads at 24 bits "
     "(--depth 8 or less takes up to 65535)"},
    {"huger.png --depth 8 -o o.bmp", 1,
     "\"huger.png\" is 65536 x 1 pixels, larger than the 65535 x 65535 that tralk reads"},
    {"lf.png -o o.bmp", 1,
     "\"lf.png\" is a PNG picture damaged by a transfer as text (its line ends were converted): "
     "copy it again as binary"},
    {"crlf.png -o o.bmp", 1,
     "\"crlf.png\" is a PNG picture damaged by a transfer as text (its line ends were "
     "converted): copy it again as binary"},
    {"two.bmp -o o.bmp", 1, "cannot read \"two.bmp\": BMP format"},
    {"cut.bmp -o o.bmp", 1, "cannot read \"cut.bmp\": the file is cut short"},
    {"in.png --depth 1 -o o.bmp", 1,
     "\"in.png\" has 3 colours; --depth 1 holds at most 2: --threshold N or --dither makes it b&w"},
    {"c17.png --depth 4 -o o.bmp", 1,
     "\"c17.png\" has 17 colours; --depth 4 holds at most 16: --dither makes it 16 grey levels, "
     "--palette IN.pal the colours of a palette"},
    {"c257.png --depth 8 -o o.bmp", 1,
     "\"c257.png\" has 257 colours; --depth 8 holds at most 256: --palette IN.pal makes it the "
     "colours of a palette"},
    // Outputs that cannot be written.
    {"in.png -o nodir/a.bmp", 1, "cannot write \"nodir/a.bmp\": No such file or directory"},
    {"in.png -o folder.bmp", 1, "cannot write \"folder.bmp\": it is a folder"},
    // Bad command lines.
    {"", 2, "no picture given"},
    {"in.png", 2, "no output file given (-o OUT.bmp)"},
    {"in.png -o o.png", 2, "the output file \"o.png\" must be named NAME.bmp"},
    {"in.png wide.png -o o.bmp", 2, "more than one picture given (\"in.png\" and \"wide.png\")"},
    {"in.png -o", 2, "option -o needs a value"},
    {"in.png --background 12345 -o o.bmp", 2,
     "option --background takes a colour as six hex digits RRGGBB, not \"12345\""},
    {"in.png --background 12345G -o o.bmp", 2,
     "option --background takes a colour as six hex digits RRGGBB, not \"12345G\""},
    {"in.png --depth 3 -o o.bmp", 2, "option --depth takes 1, 2, 4, 8 or 24, not \"3\""},
    {"in.png --depth 16 -o o.bmp", 2, "option --depth takes 1, 2, 4, 8 or 24, not \"16\""},
    {"in.png --size 8 -o o.bmp", 2, "unknown option \"--size\""},
    {"in.png --dither floyd -o o.bmp", 2,
     "option --dither takes none, ordered or floyd-steinberg, not \"floyd\""},
    {"in.png --threshold 256 --depth 1 -o o.bmp", 2,
     "option --threshold needs a number from 0 to 255, not \"256\""},
    {"in.png --invert -o o.bmp", 2, "--dither, --threshold and --invert take --depth 1, 2 or 4"},
    {"in.png --threshold 9 --depth 2 -o o.bmp", 2, "--threshold takes --depth 1 only (b&w)"},
    {"in.png --pal o.pal -o o.bmp", 2,
     "--pal takes --depth 2, 4 or 8, the pictures tralk's palette mode reads"},
    {"in.png --depth 4 --pal o.txt -o o.bmp", 2,
     "the palette file \"o.txt\" must be named NAME.pal"},
    {"in.png --palette p3.pal -o o.bmp", 2,
     "--palette takes --depth 4 or 8, the pictures tralk's palette mode reads"},
    {"in.png --palette p3.pal --depth 4 --dither ordered -o o.bmp", 2,
     "--palette takes --dither none or floyd-steinberg, and neither --threshold nor --invert"},
    {"in.png --palette p3.pal --depth 8 --invert -o o.bmp", 2,
     "--palette takes --dither none or floyd-steinberg, and neither --threshold nor --invert"},
    // Palettes that cannot be used.
    {"in.png --palette none.pal --depth 4 -o o.bmp", 1,
     "cannot use palette \"none.pal\": Open error"},
    {"in.png --palette bad.pal --depth 4 -o o.bmp", 1,
     "cannot use palette \"bad.pal\": Syntax error"},
    {"in.png --palette p17.pal --depth 4 -o o.bmp", 1,
     "\"p17.pal\" has 17 colours; --depth 4 holds at most 16"},
    {"in.png --palette p3.pal --depth 8 -o o.bmp", 1,
     "tralk's palette mode reads an 8-bit picture only with a palette of 256 colours, and "
     "\"p3.pal\" has 3 colours: add --pal OUT.pal to write it filled up with black"},
};

TEST(PictureErrors, OneLineStatusAndNoFileLeft) {
  const TempDir dir;
  PngLayout three = grey_row(3);
  three.bit_depth = 2;
  three.samples = {0, 1, 2};
  const std::string in = png_make(three);
  dir.write("in.png", in);
  dir.write("text.png", "not a picture\n");
  dir.write("empty.png", "");
  std::string crc = in;
  crc[20] ^= 1;  // the height, under a checksum that no longer fits
  dir.write("crc.png", crc);
  dir.write("cut.png", in.substr(0, in.size() - 20));
  dir.write("noiend.png", in.substr(0, in.size() - 12));
  dir.write("huge.png", kHuge);
  // The signature after CR LF became LF, and after LF became CR LF.
  dir.write("lf.png", in.substr(0, 4) + "\n\x1a\n" + in.substr(8));
  dir.write("crlf.png", in.substr(0, 4) + "\r\r\n\x1a\r\n" + in.substr(8));
  dir.write("wide.png", png_make(grey_row(21846)));
  dir.write("huger.png", png_make(grey_row(65536)));
  for (uint32_t n : {17, 257}) {
    PngLayout rgb = grey_row(n);  // n colours (i mod 256, i / 256, 0)
    rgb.colour_type = PNG_COLOR_TYPE_RGB;
    rgb.bit_depth = 8;
    rgb.samples.clear();
    for (uint32_t i = 0; i < n; ++i) rgb.samples.insert(rgb.samples.end(), {i % 256, i / 256, 0});
    dir.write("c" + std::to_string(n) + ".png", png_make(rgb));
  }
  BmpLayout two;
  two.bits = 2;
  dir.write("two.bmp", bmp_build(two));
  BmpLayout cut;
  cut.rows = {{1, 2, 3}};
  cut.truncate = 2;
  dir.write("cut.bmp", bmp_build(cut));
  std::filesystem::create_directory(dir / "folder");
  std::filesystem::create_directory(dir / "folder.bmp");
  dir.write("p3.pal", "{ {0}, {128}, {255} }\n");
  dir.write("bad.pal", "{ {0} {255} }\n");
  std::string p17 = "{ {0}";
  for (int i = 1; i < 17; ++i) p17 += ", {" + std::to_string(i) + "}";
  dir.write("p17.pal", p17 + " }\n");
  dir.write("o.bmp", "old");
  const std::set<std::string> before = files_in(dir.path());
  for (const Case& c : kCases) {
    const RunResult r = run_import(dir.path(), "picture " + c.args);
    EXPECT_EQ(r.status, c.status) << c.args;
    EXPECT_EQ(r.out, "tralk-import picture: " + c.message + "\n") << c.args;
    EXPECT_EQ(files_in(dir.path()), before) << c.args;
    EXPECT_EQ(TempDir::read(dir / "o.bmp"), "old") << c.args;
  }
}

TEST(PictureErrors, HelpAndUsage) {
  const TempDir dir;
  RunResult r = run_import(dir.path(), "picture --help");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.substr(0, r.out.find('\n')),
            "Usage: tralk-import picture PICTURE [OPTIONS] -o OUT.bmp");
  for (const char* option : {"-o OUT.bmp", "--background RRGGBB", "--depth N", "-h, --help"})
    EXPECT_NE(r.out.find(option), std::string::npos) << option;
  r = run_import(dir.path(), "--help");
  EXPECT_NE(r.out.find("\n  picture a PNG or BMP picture"), std::string::npos) << r.out;
  EXPECT_TRUE(files_in(dir.path()).empty());
}

}  // namespace
