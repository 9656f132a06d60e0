#include "output/vfont.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/console.h"
#include "output/output_helpers.h"

using namespace output_test;

namespace {

// The worked example's source and header, as the golden run of the same
// configuration expects them (tests/e2e/golden/worked).
std::string worked_example(const char* name) {
  return read_file(std::filesystem::path(TRALK_E2E_GOLDEN) / "worked" / "expected" / name);
}

const std::string kPlainColourStruct = lines({
    "",
    "/******************************************************************",
    "",
    "   logo font table structure definitions",
    "",
    "*****************************************************************/",
    "",
    "GCODE GFONTV FCODE logo =",
    "   {",
    "   0,       /* Identifier for extended font (= 0) */",
    "   1,       /* Structure type ID (1 = virtual font) */",
    "   24,       /* numbits */",
    "   0,       /* reserved */",
    "   6,       /* sym widths */",
    "   3,       /* sym height */",
    "   0,       /* extra text symbol spacing */",
    "   0,       /* extra text line spacing */",
    "   1,     /* number of symbols */",
    "   4000000000,    /* number of bytes in a symbol*/",
    "   NULL,",
    "   NULL,",
    "   4294967295,   /* symbol offset in virtual memory */",
    "   (0x10+1)        /* device identifier (application specific) */",
    "   };",
});

TEST(VfontGenerate, WorkedExampleWritesExactFiles) {
  TempDir dir;
  FONTLIST list = make_list(dir / "fonts.bin", "0", {});
  list.entries.push_back(FONTENTRY{example_font(), "font8x7"});

  con_capture_begin();
  const bool ok = vfont_generate(list, vmem_layout(list));
  const std::string console = con_capture_end();

  EXPECT_TRUE(ok);
  EXPECT_EQ(console,
            "\n\nCreating VFONT files"
            "\n Source file: \"" +
                dir / "fonts.c" +
                "\""
                "\n Header file: \"" +
                dir / "fonts.h" +
                "\""
                "\n VFONT image: \"" +
                dir / "fonts.bin" +
                "\""
                "\n  Size 0x44, 68 \n");
  EXPECT_EQ(read_file(dir / "fonts.c"), worked_example("fonts.c"));
  EXPECT_EQ(read_file(dir / "fonts.h"), worked_example("fonts.h"));
  const std::string image = read_file(dir / "fonts.bin");
  ASSERT_EQ(image.size(), 68u);
  EXPECT_EQ(image.substr(0, 8), std::string("\x44\0\0\0\x07\0\x01\0", 8));
  EXPECT_EQ(image.substr(57, 11), std::string("\x08\0\xB0\xB1\xB2\xB3\xB4\xB5\xB6\0\0", 11));
  EXPECT_EQ(dir.entries(), (std::set<std::string>{"fonts.c", "fonts.h", "fonts.bin"}));
}

TEST(VfontWriteStruct, PlainTemplateNumbersAndRefusals) {
  SymFontPtr colour = make_font(24, 3, 4, {6}, 0);
  colour->symbytes = 4000000000u;  // only the numbers are written here
  std::string out = "kept:";
  con_capture_begin();
  vfont_writestruct(out, "logo", *colour, 4294967295u, 7, "(0x10+1)");
  EXPECT_EQ(con_capture_end(), "");
  EXPECT_EQ(out, "kept:" + kPlainColourStruct);

  SymFontPtr empty = make_font(0, 3, 4, {6}, 0);
  empty->symdata.clear();
  empty->codepage = make_cp(0, {{0, 1, 2}});
  out = "kept:";
  con_capture_begin();
  vfont_writestruct(out, "nosyms", *empty, 0, 42, "0");
  EXPECT_EQ(con_capture_end(), "Error, Illegal font structure or not a softfont");
  EXPECT_EQ(out, "kept:");

  con_capture_begin();
  vfont_writestruct(out, "", *colour, 0, 0, "0");
  EXPECT_EQ(con_capture_end(), "");
  EXPECT_EQ(out, "kept:") << "a font without a name is skipped";
}

struct NameCase {
  std::string binname;
  std::string source, header;  // file names of the outputs
  std::string include, guard, nameline;
};

TEST(VfontGenerate, NamesDerivedFromImageName) {
  const NameCase cases[] = {
      {"my-fonts.bin", "my-fonts.c", "my-fonts.h", "#include <my-fonts.h>\n", "MY_FONTS",
       "my-fonts.bin"},
      {"1demo.bin", "1demo.c", "1demo.h", "#include <1demo.h>\n", "_1DEMO", "1demo.bin"},
      {"FONTS.BIN", "FONTS.c", "FONTS.h", "#include <FONTS.h>\n", "FONTS", "FONTS.BIN"},
      {"mixed.Case.bin", "mixed.Case.c", "mixed.Case.h", "#include <mixed.Case.h>\n", "MIXED_CASE",
       "mixed.Case.bin"},
  };
  for (const NameCase& c : cases) {
    SCOPED_TRACE(c.binname);
    TempDir dir;
    FONTLIST list = make_list(dir / c.binname, "0x10", {});
    list.entries.push_back(FONTENTRY{example_colour_font(), "f"});
    con_capture_begin();
    EXPECT_TRUE(vfont_generate(list, vmem_layout(list)));
    const std::string console = con_capture_end();
    EXPECT_NE(console.find("\n Source file: \"" + dir / c.source + "\""), std::string::npos);
    EXPECT_NE(console.find("\n VFONT image: \"" + dir / c.binname + "\""), std::string::npos);
    EXPECT_EQ(dir.entries(), (std::set<std::string>{c.source, c.header, c.binname}));

    const std::string source = read_file(dir / c.source);
    EXPECT_NE(source.find(c.include), std::string::npos);
    EXPECT_NE(source.find("   0x10        /* device identifier"), std::string::npos);
    const std::string header = read_file(dir / c.header);
    const std::string g = c.guard;
    EXPECT_NE(header.find("#ifndef TRALK_" + g + "_H\n#define TRALK_" + g + "_H\n"),
              std::string::npos);
    EXPECT_NE(header.find("   (File) name : \"" + c.nameline + "\" \n    Device ID   : 0x10 \n"),
              std::string::npos);
    EXPECT_NE(header.find("#define " + g + "_ID  0x10 \n"), std::string::npos);
    EXPECT_NE(header.find("#define " + g + "_SIZE 0x34 /* 52 */\n"), std::string::npos);
  }
}

// A codepage font after a plain one, and a font without symbols between:
// templates by font, indexes from the image start, the refusal after the
// source line, an extern line for every entry.
TEST(VfontGenerate, MixedListKeepsOrderAndIndexes) {
  TempDir dir;
  SymFontPtr nosyms = make_font(0, 7, 7, {8}, 0);
  nosyms->symdata.clear();
  std::vector<FontSpec> fonts;
  fonts.push_back({"plain", example_colour_font()});  // 52 bytes at 0
  fonts.push_back({"ghost", std::move(nosyms)});      // 40 bytes at 52
  fonts.push_back({"paged", example_font()});         // 68 bytes at 92
  FONTLIST list = make_list(dir / "mix.bin", "0", std::move(fonts));

  con_capture_begin();
  EXPECT_TRUE(vfont_generate(list, vmem_layout(list)));
  EXPECT_EQ(con_capture_end(),
            "\n\nCreating VFONT files"
            "\n Source file: \"" +
                dir / "mix.c" +
                "\""
                "Error, Illegal font structure or not a softfont"
                "\n Header file: \"" +
                dir / "mix.h" +
                "\""
                "\n VFONT image: \"" +
                dir / "mix.bin" +
                "\""
                "\n  Size 0xa0, 160 \n");

  const std::string source = read_file(dir / "mix.c");
  const size_t plain = source.find("GCODE GFONTV FCODE plain =\n");
  const size_t paged = source.find("static GCODE GCODEPAGEV FCODE paged_cp =\n");
  ASSERT_NE(plain, std::string::npos);
  ASSERT_NE(paged, std::string::npos);
  EXPECT_LT(plain, paged);
  EXPECT_EQ(source.find("ghost"), std::string::npos);
  EXPECT_NE(source.find("   4,       /* numbits */\n", plain), std::string::npos);
  EXPECT_NE(source.find("   38,   /* symbol offset"), std::string::npos);
  EXPECT_NE(source.find("   134  /* Storage index to base"), std::string::npos);  // 92 + 42
  EXPECT_NE(source.find("   140,     /* symbol offset"), std::string::npos);      // 92 + 48
  EXPECT_NE(source.find("/* Size of virtual memory data: 160 bytes */\n\n#endif\n"),
            std::string::npos);

  const std::string header = read_file(dir / "mix.h");
  EXPECT_NE(header.find("extern GCODE GFONTV FCODE plain;\n"
                        "extern GCODE GFONTV FCODE ghost;\n"
                        "extern GCODE GFONTV FCODE paged;\n"
                        "\n#endif\n"),
            std::string::npos);
  EXPECT_NE(header.find("#define MIX_SIZE 0xa0 /* 160 */\n"), std::string::npos);

  const std::string image = read_file(dir / "mix.bin");
  ASSERT_EQ(image.size(), 160u);
  EXPECT_EQ(image.substr(52, 6), std::string("\x28\0\0\0\x01\0", 6)) << "bare 40-byte block";
}

TEST(VfontGenerate, UnwritableFilesReportedAndNothingLeft) {
  TempDir dir;
  // Every file of an image in a directory that does not exist fails.
  {
    FONTLIST list = make_list(dir / "nodir/fonts.bin", "0", {});
    list.entries.push_back(FONTENTRY{example_font(), "font8x7"});
    con_capture_begin();
    EXPECT_FALSE(vfont_generate(list, vmem_layout(list)));
    EXPECT_EQ(con_capture_end(),
              "\n\nCreating VFONT files"
              "\n Error could write to: \"" +
                  dir / "nodir/fonts.c" +
                  "\"\n No such file or directory"
                  "\n Error could write to: \"" +
                  dir / "nodir/fonts.h" +
                  "\"\n No such file or directory"
                  "\n Error could write to: \"" +
                  dir / "nodir/fonts.bin" + "\"\n No such file or directory\n- No file of \"" +
                  dir / "nodir/fonts.bin" + "\" was replaced");
    EXPECT_TRUE(dir.entries().empty());
  }
  // The source name is taken by a directory and the header by an old file:
  // the source fails when it is closed; the header and image are still
  // built, but none of the three files is replaced.
  {
    std::filesystem::create_directory(dir / "out.c");
    write_file(dir / "out.h", "old header");
    FONTLIST list = make_list(dir / "out.bin", "0", {});
    list.entries.push_back(FONTENTRY{example_font(), "font8x7"});
    con_capture_begin();
    EXPECT_FALSE(vfont_generate(list, vmem_layout(list)));
    EXPECT_EQ(con_capture_end(),
              "\n\nCreating VFONT files"
              "\n Source file: \"" +
                  dir / "out.c" +
                  "\""
                  "\n Error could write to: \"" +
                  dir / "out.c" +
                  "\""
                  "\n Is a directory"
                  "\n Header file: \"" +
                  dir / "out.h" +
                  "\""
                  "\n VFONT image: \"" +
                  dir / "out.bin" +
                  "\""
                  "\n  Size 0x44, 68 \n"
                  "\n- No file of \"" +
                  dir / "out.bin" + "\" was replaced");
    EXPECT_TRUE(std::filesystem::is_directory(dir / "out.c"));
    EXPECT_EQ(read_file(dir / "out.h"), "old header");
    EXPECT_EQ(dir.entries(), (std::set<std::string>{"out.c", "out.h"}))
        << "nothing left beside them, not even the lock";
  }
  // The image name taken by a directory: no Size line.
  {
    std::filesystem::create_directory(dir / "img.bin");
    FONTLIST list = make_list(dir / "img.bin", "0", {});
    list.entries.push_back(FONTENTRY{example_font(), "font8x7"});
    con_capture_begin();
    EXPECT_FALSE(vfont_generate(list, vmem_layout(list)));
    const std::string console = con_capture_end();
    EXPECT_EQ(console.substr(console.find("\n VFONT image")),
              "\n VFONT image: \"" + dir / "img.bin" +
                  "\""
                  "\n Error could write to: \"" +
                  dir / "img.bin" + "\"\n Is a directory\n- No file of \"" + dir / "img.bin" +
                  "\" was replaced");
    EXPECT_TRUE(std::filesystem::is_directory(dir / "img.bin"));
  }
}

// An image beyond 32 bits: the message, nothing written, old files kept.
TEST(VfontGenerate, OversizedImageWritesNothing) {
  TempDir dir;
  for (const char* name : {"big.c", "big.h", "big.bin"}) write_file(dir / name, "old");
  SymFontPtr huge = make_font(0, 1, 4, {8}, 0);
  huge->numsym = 65535;
  huge->symbytes = 0xFFFFFFFFu;
  std::vector<FontSpec> fonts;
  fonts.push_back({"small", example_font()});
  fonts.push_back({"huge", std::move(huge)});
  FONTLIST list = make_list(dir / "big.bin", "0", std::move(fonts));

  con_capture_begin();
  EXPECT_FALSE(vfont_generate(list, vmem_layout(list)));
  EXPECT_EQ(con_capture_end(),
            "\n\nCreating VFONT files"
            "\n Source file: \"" +
                dir / "big.c" +
                "\""
                "\nError: virtual font image exceeds 4294967295 bytes"
                "\n- No file of \"" +
                dir / "big.bin" + "\" was replaced");
  for (const char* name : {"big.c", "big.h", "big.bin"}) EXPECT_EQ(read_file(dir / name), "old");
  EXPECT_EQ(dir.entries(), (std::set<std::string>{"big.c", "big.h", "big.bin"}));
}

}  // namespace
