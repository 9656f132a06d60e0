// Icons by name: --names, --names-file and --names-header on the test icon
// fonts (tests/fixtures/icons, made with fontTools) and on Debian's Font
// Awesome; the header compiled by the C compiler and its bytes printed.
#include <gtest/gtest.h>

#include <filesystem>

#include "import/import_helpers.h"

namespace fs = std::filesystem;

namespace {

using import_test::files_in;
using import_test::freetype_version;
using import_test::run_import;

const std::string kIcons = TRALK_FIXTURES "/icons/icons.ttf";
const std::string kNoNames = TRALK_FIXTURES "/icons/icons-nonames.ttf";
const char kFontAwesome[] = "/usr/share/fonts/truetype/font-awesome/fontawesome-webfont.ttf";

// The symbol lines of a .sym file.
std::string symbol_lines(const std::string& sym) {
  return sym.substr(std::min(sym.size(), sym.find("\n{{") + 1));
}

// Compiles a program that prints each macro's bytes and code, and runs it.
std::string compiled_macros(const TempDir& dir, const std::string& include,
                            const std::vector<std::string>& names) {
  std::string program = "#include <stdio.h>\n#include \"" + include +
                        "\"\nstatic void show(const char* s, unsigned code) {\n"
                        "  for (; *s; ++s) printf(\"%02X \", (unsigned char)*s);\n"
                        "  printf(\"%X\\n\", code);\n}\nint main(void) {\n";
  for (const std::string& n : names) program += "  show(" + n + ", " + n + "_CODE);\n";
  dir.write("show.c", program + "  return 0;\n}\n");
  const RunResult built = run_command(
      dir.path(), "cc -std=c99 -Wall -Wextra -Wpedantic -Werror -o show show.c 2>&1 && ./show");
  EXPECT_EQ(built.status, 0) << built.out;
  return built.out;
}

// Names from the command line and a codepoints file: the glyphs at their
// codes (the font's, or the file's where the font has no glyph there), the
// header, and the dependency file naming both.
TEST(ImportNames, SelectsGlyphsByNameAndWritesTheHeader) {
  TempDir dir;
  dir.write("codepoints",
            "# the icon set's list\nwifi f1eb\r\n\nbattery_full 0xF240\nstar U+E000\n");
  fs::create_directory(dir.path() / "inc");
  const RunResult r = run_import(dir.path(), "font " + kIcons +
                                                 " --size 16 --names cog,wifi --names-file "
                                                 "codepoints --names-header inc/icons.h "
                                                 "--depfile i.d -o i.sym");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.out,
            "Made by tralk-import from \"" + kIcons +
                "\" face 0: Test Icons Regular, 16 px, FreeType " + freetype_version() +
                "\nOptions: --size 16 --names \"cog,wifi\" --names-file \"codepoints\" "
                "--encoding unicode --bpp 1 --hinting native --height ink --width advance\n"
                "5 symbols, 12 rows (12 above the baseline), 6 to 14 pixels wide, 24 bytes each, "
                "1 bit per pixel (b&w, a set bit is ink)\n"
                "Codepage \"i.cp\": 5 ranges, default character 0xFFFD, a box added under U+FFFD "
                "(the font's missing-glyph box (glyph 0) would make every symbol larger)\n"
                "4 glyphs taken by name; \"inc/icons.h\" defines ICON_<NAME> (its text) and "
                "ICON_<NAME>_CODE for each\n"
                "Wrote \"i.sym\", \"i.cp\" and \"inc/icons.h\"\n");
  // Each glyph a rectangle of whole pixels (make_icon_fonts.py), a column
  // in from its origin, on the baseline of a cell of the tallest's 12 rows.
  const std::string zeros = "0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00";
  EXPECT_EQ(symbol_lines(TempDir::read(dir.file("i.sym"))),
            "{{8,12},{0x00,0x00,0x00,0x00,0x00,0x00,0x3C,0x3C,0x3C,0x3C,0x00,0x00,0x00,0x00,0x00,"
            "0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00}}, // 0xE000 \"star\"\n"
            "{{6,12},{0x78,0x78,0x78,0x78,0x78,0x78,0x78,0x78,0x78,0x78,0x78,0x78," +
                zeros + ",0x00,0x00,0x00,0x00}}, // 0xF013 \"cog\"\n" + "{{10,12},{" + zeros +
                ",0x7F,0x80,0x7F,0x80,0x7F,0x80,0x7F,0x80,0x7F,0x80,0x7F,0x80,0x7F,0x80,0x7F,"
                "0x80}}, // 0xF1EB \"wifi\"\n"
                "{{14,12},{" +
                zeros + "," + zeros +
                ",0x7F,0xF8,0x7F,0xF8,0x7F,0xF8,0x7F,0xF8}}, // 0xF240 \"battery_full\"\n"
                "{{10,12},{0x7F,0x80,0x40,0x80,0x40,0x80,0x40,0x80,0x40,0x80,0x40,0x80,0x40,0x80,"
                "0x40,0x80,0x40,0x80,0x40,0x80,0x40,0x80,0x7F,0x80}}, // 0xFFFD a box for missing "
                "characters\n");
  EXPECT_EQ(TempDir::read(dir.file("inc/icons.h")),
            "/* Made by tralk-import: the glyphs of \"i.sym\" taken by name, each as the\n"
            "   text that draws it (its code in UTF-8) and its code. */\n"
            "#ifndef TRALK_NAMES_ICONS_H\n#define TRALK_NAMES_ICONS_H\n\n"
            "#define ICON_COG \"\\xEF\\x80\\x93\"\n#define ICON_COG_CODE 0xF013\n"
            "#define ICON_WIFI \"\\xEF\\x87\\xAB\"\n#define ICON_WIFI_CODE 0xF1EB\n"
            "#define ICON_BATTERY_FULL \"\\xEF\\x89\\x80\"\n#define ICON_BATTERY_FULL_CODE 0xF240\n"
            "#define ICON_STAR \"\\xEE\\x80\\x80\"\n#define ICON_STAR_CODE 0xE000\n\n#endif\n");
  // UTF-8 by hand: U+F1EB is 1111 000111 101011, EF 87 AB.
  EXPECT_EQ(compiled_macros(dir, "inc/icons.h", {"ICON_COG", "ICON_WIFI", "ICON_STAR"}),
            "EF 80 93 F013\nEF 87 AB F1EB\nEE 80 80 E000\n");
  const std::string home = fs::canonical(dir.path()).string();
  EXPECT_EQ(TempDir::read(dir.file("i.d")), home + "/i.sym " + home + "/i.cp " + home +
                                                "/inc/icons.h: " + kIcons + " \\\n " + home +
                                                "/codepoints\n");
  import_test::read_back(dir.file("i.sym"));
}

// A font without glyph names takes a codepoints file's codes; a name the
// font lacks is refused with the nearest it has. Nothing is written.
TEST(ImportNames, RefusalsNameTheIconAndLeaveNothing) {
  const struct {
    std::string font;
    std::string args;
    const char* names_file;  // null: none
    int status;
    std::string message;
  } cases[] = {
      {kIcons, "--names wif", nullptr, 1,
       "font \"" + kIcons +
           "\" has no glyph named \"wif\"; the closest names it has: \"wifi\", "
           "\"cog\", \"fire\""},
      {kNoNames, "--names wifi", nullptr, 1,
       "font \"" + kNoNames +
           "\" has no glyph names: give each icon its code, a names file line \"wifi CODE\""},
      {kNoNames, "--names-file n.txt", "wifi f1eb\nheart f004\n", 1,
       "names file \"n.txt\": line 2: no glyph is named \"heart\" and none is at 0xF004 in the "
       "font"},
      {kIcons, "--names fire", nullptr, 1,
       "glyph \"fire\" of font \"" + kIcons +
           "\" is at U+1F525, above 0xFFFF, the largest codepage code: give it a code up to "
           "0xFFFF in a names file, as in \"fire e000\""},
      {kIcons, "--names star", nullptr, 1,
       "glyph \"star\" of font \"" + kIcons +
           "\" has no code in its charmap: give it one in a names file, as in \"star e000\""},
      {kIcons, "--names-file n.txt", "cog f1eb\n", 1,
       "names file \"n.txt\": line 1: glyph \"cog\" of font \"" + kIcons +
           "\" is not its glyph at 0xF1EB, which is \"wifi\": a names file of another version "
           "of the font?"},
      {kIcons, "--names cog --names-file n.txt", "cog e000\n", 1,
       "names file \"n.txt\": line 1: glyph name \"cog\" is given twice, for 0xF013 and for "
       "0xE000"},
      {kIcons, "--names-file n.txt", "star e000\nfire e000\n", 1,
       "names file \"n.txt\": line 2: \"star\" and \"fire\" are given one code, 0xE000, for two "
       "glyphs"},
      {kIcons, "--names battery_full --names-file n.txt --names-header i.h", "battery-full e001\n",
       1,
       "glyph names \"battery_full\" and \"battery-full\" both make ICON_BATTERY_FULL in \"i.h\": "
       "leave one out or rename it in a names file"},
      {kIcons, "--names-file n.txt --names-header i.h", "a f013\na_code f013\n", 1,
       "glyph names \"a\" and \"a_code\" both make ICON_A_CODE in \"i.h\": leave one out or "
       "rename it in a names file"},
      {kIcons, "--names cog -r '0x1F525=>0xF013'", nullptr, 2,
       "code 0xF013 is selected twice, for 0x1F525 and for glyph \"cog\""},
      {kIcons, "--names-file n.txt", "wifi f1eb extra\n", 1,
       "names file \"n.txt\": line 1: \"wifi f1eb extra\" is not a name and a code"},
      {kIcons, "--names-file n.txt", "\nwifi zz\n", 1,
       "names file \"n.txt\": line 2: the code of \"wifi\", \"zz\", is not hexadecimal"},
      {kIcons, "--names-file n.txt", "fire 1f525\n", 1,
       "names file \"n.txt\": line 1: the code of \"fire\", U+1F525, is above 0xFFFF, the largest "
       "codepage code"},
      {kIcons, "--names-file n.txt", "x d800\n", 1,
       "names file \"n.txt\": line 1: the code of \"x\", 0xD800, is a surrogate, which UTF-8 text "
       "cannot hold"},
      {kIcons, "--names-file missing.txt", nullptr, 1,
       "cannot read names file \"missing.txt\": No such file or directory"},
      {kIcons, "--names a,,b", nullptr, 2,
       "--names takes glyph names separated by commas, without blanks, not \"a,,b\""},
      {kIcons, "--names cog --encoding CP1252", nullptr, 2,
       "--names needs --encoding unicode: a glyph's code is its Unicode code"},
      {kIcons, "--names-header i.h", nullptr, 2, "--names-header needs --names or --names-file"},
      {kIcons, "--names cog --names-header i.txt", nullptr, 2,
       "the names header \"i.txt\" must be named NAME.h"},
      {kIcons, "--names cog --names-header i.h --no-cp", nullptr, 2,
       "--names-header and --no-cp cannot be used together"},
  };
  for (const auto& c : cases) {
    TempDir dir;
    if (c.names_file) dir.write("n.txt", c.names_file);
    const std::set<std::string> before = files_in(dir.path());
    const RunResult r =
        run_import(dir.path(), "font " + c.font + " --size 16 " + c.args + " -o i.sym");
    EXPECT_EQ(r.out, "tralk-import font: " + c.message + "\n") << c.args;
    EXPECT_EQ(r.status, c.status) << c.args;
    EXPECT_EQ(files_in(dir.path()), before) << c.args;
  }
}

// Debian's Font Awesome 4.7 names most glyphs ("cog") but not all: its
// wifi glyph is "_461", which its CSS gives as U+F1EB.
TEST(ImportNames, FontAwesome) {
  if (!fs::exists(kFontAwesome)) GTEST_SKIP() << kFontAwesome << " is absent (fonts-font-awesome)";
  TempDir dir;
  dir.write("fa.txt", "wifi f1eb\nbattery-full f240\n");
  RunResult r = run_import(
      dir.path(), std::string("font ") + kFontAwesome + " --size 16 --names wifi -o fa.sym");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, std::string("tralk-import font: font \"") + kFontAwesome +
                       "\" has no glyph named \"wifi\"; the closest names it has: \"gift\", "
                       "\"film\", \"off\"\n");
  r = run_import(dir.path(), std::string("font ") + kFontAwesome +
                                 " --size 16 --names cog,cogs --names-file fa.txt --names-header "
                                 "fa.h --quiet -o fa.sym");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(
      compiled_macros(dir, "fa.h", {"ICON_COG", "ICON_COGS", "ICON_WIFI", "ICON_BATTERY_FULL"}),
      "EF 80 93 F013\nEF 82 85 F085\nEF 87 AB F1EB\nEF 89 80 F240\n");
  const tralk::inspector::FontRecord f = import_test::read_back(dir.file("fa.sym"));
  EXPECT_EQ(f.numsym, 5u);  // four icons and the box for missing characters
}

}  // namespace
