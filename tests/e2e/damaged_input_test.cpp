// Damaged input is refused instead of passing as success, and the nearest
// input that is not damaged still passes: the cases that need their files
// made (pictures, folders, links); the rest are golden runs
// (tests/e2e/golden/damaged_*), each with its exact console text, exit
// status and the files left.
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
std::set<std::string> files_in(const fs::path& dir) {
  std::set<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
  return names;
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
