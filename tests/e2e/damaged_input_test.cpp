// Damaged input is refused instead of passing as success, and the nearest
// input that is not damaged still passes: the program run on configurations
// and files written into a temporary directory, with the exact console text,
// the exit status and the set of files left.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "support/bmp_builder.h"
#include "support/run_tralk.h"
#include "support/tempdir.h"

namespace fs = std::filesystem;

namespace {

const char kBanner[] = "\nVFONT GENERATOR  V1.2\nOpen configuration file: cfg.vfg OK\n";
const char kDone[] = "\n\nNo errors detected. Done\n";
const char kSkipped[] = "\nSkipping config file processing due to errors\n\nPress a key to Exit\n";
const char kBom[] = "\xEF\xBB\xBF";

struct Case {
  std::string what;
  std::vector<std::pair<std::string, std::string>> files;  // cfg.vfg among them
  std::string output;                                      // after the banner; "<DIR>" is the run's
  int status;
  std::set<std::string> left;  // every file in the folder afterwards
};

std::string opened(const std::string& image) {
  return "\nDefining virtual font: \"" + image + "\" ID=0";
}
std::string loaded(const std::string& file) {
  return "\n Loading file to font: \"<DIR>/" + file + "\" OK";
}
std::string written(const std::string& image, const std::string& size) {
  return "\n\nCreating VFONT files\n Source file: \"<DIR>/" + image +
         ".c\"\n Header file: \"<DIR>/" + image + ".h\"\n VFONT image: \"<DIR>/" + image +
         ".bin\"\n  Size " + size + " \n";
}
std::string sym_error(unsigned symbol, const std::string& file) {
  return "\n Loading file to font: \"<DIR>/" + file + "\"\n Syntax error detected on symbol " +
         std::to_string(symbol) + " in sym file \"<DIR>/" + file +
         "\"\n- Error detected during font load \"<DIR>/" + file + "\"" + kSkipped;
}

std::set<std::string> files_in(const fs::path& dir) {
  std::set<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
  return names;
}

void check(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    TempDir dir;
    for (const auto& [name, content] : c.files) dir.write(name, content);
    const RunResult r = run_tralk(dir.path(), "cfg.vfg");
    EXPECT_EQ(r.out, kBanner + with_dir(c.output, dir.path())) << c.what;
    EXPECT_EQ(r.status, c.status) << c.what;
    EXPECT_EQ(files_in(dir.path()), c.left) << c.what;
  }
}

const std::set<std::string> kNothing{"cfg.vfg", "f.sym"};
const std::set<std::string> kImage{"cfg.vfg", "f.sym", "img.c", "img.h", "img.bin"};

TEST(DamagedInput, SymbolFonts) {
  const std::string cfg = "img.bin\nf.sym\n";
  check({
      {"a narrower symbol ends in padding",
       {{"cfg.vfg", cfg}, {"f.sym", "{{9,1},{1,2}},{{8,1},{3,0}}"}},
       opened("img.bin") + loaded("f.sym") + written("img", "0x30, 48") + kDone,
       0,
       kImage},
      {"rows longer than the first symbol's byte count",
       {{"cfg.vfg", cfg}, {"f.sym", "{{8,1},{1}},{{9,1},{2}}"}},
       opened("img.bin") + sym_error(1, "f.sym"),
       255,
       kNothing},
      {"the first symbol's rows longer than its own bytes",
       {{"cfg.vfg", cfg}, {"f.sym", "{{0,4,3,2},{1,2,3}}"}},
       opened("img.bin") + sym_error(0, "f.sym"),
       255,
       kNothing},
      {"3 bits per pixel is no depth",
       {{"cfg.vfg", cfg}, {"f.sym", "{{0,8,1,1},{1}},{{0,3,1,1},{1}}"}},
       opened("img.bin") + sym_error(1, "f.sym"),
       255,
       kNothing},
      {"a symbol without the comma before it",
       {{"cfg.vfg", cfg}, {"f.sym", "{{8,1},{1}},{{8,1},{2}}\n{{8,1},{3}}"}},
       opened("img.bin") + sym_error(2, "f.sym"),
       255,
       kNothing},
      {"a pixel list ended by an opening brace",
       {{"cfg.vfg", cfg}, {"f.sym", "{{8,1},{1{}"}},
       opened("img.bin") + sym_error(0, "f.sym"),
       255,
       kNothing},
      {"a closing brace after the last symbol",
       {{"cfg.vfg", cfg}, {"f.sym", "{{8,1},{1}}};"}},
       opened("img.bin") + loaded("f.sym") + written("img", "0x2c, 44") + kDone,
       0,
       kImage},
      {"a comment left open after a comma",
       {{"cfg.vfg", cfg}, {"f.sym", "{{8,1},{1}},{{8,1},{2}},/* {{8,1},{3}}"}},
       opened("img.bin") + sym_error(2, "f.sym"),
       255,
       kNothing},
      {"a comment behind the end of the list is never read",
       {{"cfg.vfg", cfg}, {"f.sym", "{{8,1},{1}}; /* notes"}},
       opened("img.bin") + loaded("f.sym") + written("img", "0x2c, 44") + kDone,
       0,
       kImage},
      {"a comment closed on the last line",
       {{"cfg.vfg", cfg}, {"f.sym", "{{8,1},{1}} /* notes\n*/"}},
       opened("img.bin") + loaded("f.sym") + written("img", "0x2c, 44") + kDone,
       0,
       kImage},
  });
}

TEST(DamagedInput, CodepagesAndPalettes) {
  const std::string cfg = "img.bin\nf.sym\n";
  const std::string sym = "// CP<f.cp>\n{{8,1},{1}}";
  const std::string cp_error =
      "\n Loading file to font: \"<DIR>/f.sym\"\n Syntax error in .cp file \"<DIR>/f.cp\""
      "\n Error loading codepage specificed in sym file \"<DIR>/f.sym\""
      "\n- Error detected during font load \"<DIR>/f.sym\"" +
      std::string(kSkipped);
  const std::string pal_error =
      "\n Default bmp pallette: \"<DIR>/p.pal\"\n Syntax error in pal file \"<DIR>/p.pal\""
      "\n- Failed to load palette file <DIR>/p.pal" +
      std::string(kSkipped);
  const std::set<std::string> with_cp{"cfg.vfg", "f.sym", "f.cp"};
  const std::set<std::string> with_pal{"cfg.vfg", "p.pal"};
  check({
      {"a range without the comma before it",
       {{"cfg.vfg", cfg}, {"f.sym", sym}, {"f.cp", "{2,32},{{32,63,0}{64,95,32}}"}},
       opened("img.bin") + cp_error,
       255,
       with_cp},
      {"a codepage comment left open",
       {{"cfg.vfg", cfg}, {"f.sym", sym}, {"f.cp", "{1,32},{{32,63,0}/* more"}},
       opened("img.bin") + cp_error,
       255,
       with_cp},
      {"a codepage comment behind the list",
       {{"cfg.vfg", cfg}, {"f.sym", sym}, {"f.cp", "{1,32},{{32,63,0}} /* notes"}},
       opened("img.bin") + loaded("f.sym") + written("img", "0x34, 52") + kDone,
       0,
       {"cfg.vfg", "f.sym", "f.cp", "img.c", "img.h", "img.bin"}},
      {"a palette entry without the comma before it",
       {{"cfg.vfg", "p.pal\n"}, {"p.pal", "{{0},{255}{1,2,3}}"}},
       pal_error,
       255,
       with_pal},
      {"a palette comment left open",
       {{"cfg.vfg", "p.pal\n"}, {"p.pal", "{{0},{255},/*{1,2,3}}"}},
       pal_error,
       255,
       with_pal},
      {"a palette ended by its closing brace",
       {{"cfg.vfg", "p.pal\n"}, {"p.pal", "{{0},{255}} /* notes"}},
       "\n Default bmp pallette: \"<DIR>/p.pal\" OK" + std::string(kDone),
       0,
       with_pal},
  });
}

TEST(DamagedInput, ConfigurationComments) {
  const char kOpen[] = "\nConfig file: comment not closed at the end of the file";
  check({
      {"entries before an open comment are read; the open list is not written",
       {{"cfg.vfg", "one.bin\nf.sym\nimg.bin\nf.sym /* two.bin\nf.sym\n"},
        {"f.sym", "{{8,1},{1}}"}},
       opened("one.bin") + loaded("f.sym") + written("one", "0x2c, 44") + opened("img.bin") +
           loaded("f.sym") + kOpen + kSkipped,
       255,
       {"cfg.vfg", "f.sym", "one.c", "one.h", "one.bin"}},
      {"an open comment where the identifier would stand",
       {{"cfg.vfg", "img.bin /* 0x10\nf.sym\n"}, {"f.sym", "{{8,1},{1}}"}},
       opened("img.bin") + kOpen + kSkipped,
       255,
       kNothing},
      {"a comment closed on the last line",
       {{"cfg.vfg", "img.bin\nf.sym /* notes\n*/"}, {"f.sym", "{{8,1},{1}}"}},
       opened("img.bin") + loaded("f.sym") + written("img", "0x2c, 44") + kDone,
       0,
       kImage},
      {"a line comment at the very end",
       {{"cfg.vfg", "img.bin\nf.sym // notes"}, {"f.sym", "{{8,1},{1}}"}},
       opened("img.bin") + loaded("f.sym") + written("img", "0x2c, 44") + kDone,
       0,
       kImage},
  });
}

TEST(DamagedInput, ByteOrderMarks) {
  const std::string sym = "// CP<f.cp>\n{{8,1},{1}}";
  const std::set<std::string> all{"cfg.vfg", "f.sym", "f.cp", "p.pal", "img.c", "img.h", "img.bin"};
  check({
      {"at the start of every text file",
       {{"cfg.vfg", kBom + std::string("p.pal\nimg.bin\nf.sym\n")},
        {"f.sym", kBom + sym},
        {"f.cp", kBom + std::string("{1,32},{{32,63,0}}")},
        {"p.pal", kBom + std::string("{{0},{255}}")}},
       "\n Default bmp pallette: \"<DIR>/p.pal\" OK" + opened("img.bin") + loaded("f.sym") +
           written("img", "0x34, 52") + kDone,
       0,
       all},
      {"a byte order mark later in the configuration is part of a name",
       {{"cfg.vfg", "img.bin\n" + std::string(kBom) + "f.sym\n"}, {"f.sym", "{{8,1},{1}}"}},
       opened("img.bin") + "\n- Font file not found <DIR>/" + kBom + "f.sym" + kSkipped,
       255,
       kNothing},
      {"two byte order marks: the second is text",
       {{"cfg.vfg", "img.bin\nf.sym\n"}, {"f.sym", std::string(kBom) + kBom + "{{8,1},{1}}"}},
       opened("img.bin") + sym_error(0, "f.sym"),
       255,
       kNothing},
  });
}

TEST(DamagedInput, ImagesAndFontNames) {
  const std::string font = "{{8,1},{1}}";
  const std::string cp_font = "// CP<f.cp>\n{{8,1},{1}}";
  check({
      {"an image named twice: the open list is discarded, earlier images kept",
       {{"cfg.vfg", "img.bin\nf.sym\ntwo.bin\nf.sym\n./img.bin 0x10\n"}, {"f.sym", font}},
       opened("img.bin") + loaded("f.sym") + written("img", "0x2c, 44") + opened("two.bin") +
           loaded("f.sym") + "\nConfig file: image \"./img.bin\" is defined twice" + kSkipped,
       255,
       kImage},
      {"an empty image named twice",
       {{"cfg.vfg", "img.bin\nimg.bin\n"}, {"f.sym", font}},
       opened("img.bin") + "\nConfig file: image \"img.bin\" is defined twice" + kSkipped,
       255,
       kNothing},
      {"images that would share their .c and .h files",
       {{"cfg.vfg", "img.bin\nf.sym\nimg.BIN\n"}, {"f.sym", font}},
       opened("img.bin") + loaded("f.sym") + "\nConfig file: image \"img.BIN\" is defined twice" +
           kSkipped,
       255,
       kNothing},
      {"one font twice in an image",
       {{"cfg.vfg", "img.bin\nf.sym\nf.sym\n"}, {"f.sym", font}},
       opened("img.bin") + loaded("f.sym") + loaded("f.sym") +
           "\n- Font name \"f\" is used twice in \"img.bin\"" + kSkipped,
       255,
       kNothing},
      {"a template that runs out of source text",
       {{"cfg.vfg", "img.bin\n?.sym Font_*\n"}, {"a.sym", font}, {"b.sym", font}},
       opened("img.bin") + loaded("a.sym") + loaded("b.sym") +
           "\n- Font name \"Font_\" is used twice in \"img.bin\"" + kSkipped,
       255,
       {"cfg.vfg", "a.sym", "b.sym"}},
      {"a name that a codepage structure already takes",
       {{"cfg.vfg", "img.bin\nf.sym\nf.sym f_cp\n"},
        {"f.sym", cp_font},
        {"f.cp", "{1,0},{{0,0,0}}"}},
       opened("img.bin") + loaded("f.sym") + loaded("f.sym") +
           "\n- Font name \"f_cp\" is used twice in \"img.bin\"" + kSkipped,
       255,
       {"cfg.vfg", "f.sym", "f.cp"}},
      {"a keyword",
       {{"cfg.vfg", "img.bin\nf.sym int\n"}, {"f.sym", font}},
       opened("img.bin") + loaded("f.sym") + "\n- Font name \"int\" is a C keyword" + kSkipped,
       255,
       kNothing},
      {"a C23 keyword",
       {{"cfg.vfg", "img.bin\nf.sym typeof\n"}, {"f.sym", font}},
       opened("img.bin") + loaded("f.sym") + "\n- Font name \"typeof\" is a C keyword" + kSkipped,
       255,
       kNothing},
      {"the same name in two images",
       {{"cfg.vfg", "img.bin\nf.sym\ntwo.bin\nf.sym Int\n"}, {"f.sym", font}},
       opened("img.bin") + loaded("f.sym") + written("img", "0x2c, 44") + opened("two.bin") +
           loaded("f.sym") + written("two", "0x2c, 44") + kDone,
       0,
       {"cfg.vfg", "f.sym", "img.c", "img.h", "img.bin", "two.c", "two.h", "two.bin"}},
  });
}

TEST(DamagedInput, PicturesNamedByATemplate) {
  TempDir dir;
  BmpLayout pic;
  pic.bits = 1;
  pic.colours = {{0, 0, 0}, {255, 255, 255}};
  pic.rows = {{0x80}};
  for (const char* name : {"a.bmp", "b.bmp", "c.bmp"})
    write_bytes(dir.path() / name, bmp_build(pic));
  dir.write("cfg.vfg", "img.bin\n*.bmp Icon_*\n");
  dir.write("gcolor_4.pal", "{{0},{255}}");
  const RunResult r = run_tralk(dir.path(), "cfg.vfg");
  EXPECT_EQ(r.out, kBanner + with_dir(opened("img.bin") +
                                          "\n Loading file to font: \"<DIR>/a.bmp\"\n OK"
                                          "\n Loading file to font: \"<DIR>/b.bmp\"\n OK"
                                          "\n- Font name \"Icon_\" is used twice in \"img.bin\"" +
                                          kSkipped,
                                      dir.path()));
  EXPECT_EQ(r.status, 255);
  EXPECT_FALSE(fs::exists(dir.path() / "img.c"));
}

// An image whose .bin cannot be replaced keeps its old .c and .h, while the
// image before it in the same configuration gets its new files.
TEST(DamagedInput, AnImagesFilesAreReplacedTogether) {
  TempDir dir;
  dir.write("cfg.vfg", "one.bin\nf.sym\nimg.bin\nf.sym\n");
  dir.write("f.sym", "{{8,1},{1}}");
  dir.write("img.c", "old source");
  dir.write("img.h", "old header");
  fs::create_directory(dir.path() / "img.bin");  // an output name held by a folder
  const RunResult r = run_tralk(dir.path(), "cfg.vfg");
  EXPECT_EQ(r.out,
            kBanner + with_dir(opened("one.bin") + loaded("f.sym") + written("one", "0x2c, 44") +
                                   opened("img.bin") + loaded("f.sym") +
                                   "\n\nCreating VFONT files"
                                   "\n Source file: \"<DIR>/img.c\""
                                   "\n Header file: \"<DIR>/img.h\""
                                   "\n VFONT image: \"<DIR>/img.bin\""
                                   "\n Error could write to: \"<DIR>/img.bin\""
                                   "\n Is a directory"
                                   "\n- No file of \"img.bin\" was replaced"
                                   "\n\nErrors detected while writing output files\n"
                                   "\nPress a key to Exit\n",
                               dir.path()));
  EXPECT_EQ(r.status, 255);
  EXPECT_EQ(TempDir::read(dir.path() / "img.c"), "old source");
  EXPECT_EQ(TempDir::read(dir.path() / "img.h"), "old header");
  EXPECT_EQ(fs::file_size(dir.path() / "one.bin"), 44u);
  EXPECT_EQ(files_in(dir.path()), (std::set<std::string>{"cfg.vfg", "f.sym", "one.c", "one.h",
                                                         "one.bin", "img.c", "img.h", "img.bin"}));
}

// Outputs reached through symbolic links are written through them; replaced
// files keep their permission bits.
TEST(DamagedInput, LinksAndModesOfOutputsAreKept) {
  if (test_host().windows) GTEST_SKIP() << "symbolic links are a POSIX set-up";
  TempDir dir;
  dir.write("cfg.vfg", "img.bin\nf.sym\n");
  dir.write("f.sym", "{{8,1},{1}}");
  dir.write("flash/image.bin", "old image");
  fs::create_symlink("flash/image.bin", dir.path() / "img.bin");
  dir.write("img.h", "old header");
  fs::permissions(dir.path() / "img.h",
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  // A POSIX set-up: its outputs are not compared with Windows's.
  RunOptions posix_only;
  posix_only.same_on_all_hosts = false;
  const RunResult r = run_tralk(dir.path(), "cfg.vfg", posix_only);
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_TRUE(fs::is_symlink(dir.path() / "img.bin"));
  EXPECT_EQ(fs::read_symlink(dir.path() / "img.bin"), "flash/image.bin");
  EXPECT_EQ(fs::file_size(dir.path() / "flash/image.bin"), 44u);
  EXPECT_EQ(fs::status(dir.path() / "img.h").permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(files_in(dir.path() / "flash"), (std::set<std::string>{"image.bin"}));
}

}  // namespace
