// Stable layouts for updates: with the layout of the last run, every image
// that still fits keeps its offset, a grown one moves (never an unchanged
// one), and the run says which moved and why; --diff then lists the sectors
// an update must write, and --diff-hex holds exactly those.
#include <gtest/gtest.h>

#include "base/text.h"
#include "tests/pack/pack_helpers.h"

using pack_test::image_bytes;
using pack_test::read_records;
using pack_test::run_pack;

namespace {

const char kPack[] = "--quiet -o chip.bin --size 64KiB --align 4KiB --layout chip.layout ";

TEST(PackLayout, KeepsWhatFitsMovesWhatGrewAndDiffsTheSectors) {
  TempDir dir;
  const std::string a = image_bytes(4096, 1), c = image_bytes(100, 3);
  dir.write("a.bin", a);
  dir.write("b.bin", image_bytes(4000, 2));
  dir.write("c.bin", c);
  const RunResult first = run_pack(dir.path(), std::string(kPack) + "a.bin b.bin c.bin");
  ASSERT_EQ(first.status, 0) << first.out;
  EXPECT_EQ(first.out, "");
  EXPECT_EQ(TempDir::read(dir.path() / "chip.layout"),
            "# tralk-pack layout of \"chip.bin\": offset, size in bytes, image\n"
            "0x00000000 4096 a.bin\n0x00001000 4000 b.bin\n0x00002000 100 c.bin\n");
  std::rename(dir.file("chip.bin").c_str(), dir.file("old.bin").c_str());

  // b grows past c; given in another order, with a new image d.
  const std::string b = image_bytes(6000, 2), d = image_bytes(2000, 4);
  dir.write("b.bin", b);
  dir.write("d.bin", d);
  const RunResult second = run_pack(dir.path(), std::string(kPack) + "d.bin c.bin b.bin a.bin");
  ASSERT_EQ(second.status, 0) << second.out;
  EXPECT_EQ(second.out,
            "Moved \"b.bin\" from 0x00001000 to 0x00003000: it grew from 4000 to 6000 bytes and "
            "would overlap \"c.bin\"\n");
  EXPECT_EQ(TempDir::read(dir.path() / "chip.layout"),
            "# tralk-pack layout of \"chip.bin\": offset, size in bytes, image\n"
            "0x00000000 4096 a.bin\n0x00001000 2000 d.bin\n0x00002000 100 c.bin\n"
            "0x00003000 6000 b.bin\n");
  std::string chip(65536, '\xFF');
  chip.replace(0, a.size(), a).replace(0x1000, d.size(), d).replace(0x2000, c.size(), c);
  chip.replace(0x3000, b.size(), b);
  EXPECT_EQ(TempDir::read(dir.path() / "chip.bin"), chip);

  const RunResult diff = run_pack(
      dir.path(), "--diff old.bin chip.bin --sector 4KiB --base 0x90000000 --diff-hex up.hex");
  ASSERT_EQ(diff.status, 0) << diff.out;
  EXPECT_EQ(diff.out,
            "\"chip.bin\" differs from \"old.bin\" in 3 sectors of 16 sectors of 4096 bytes "
            "(12288 bytes)\n"
            "  0x00001000 to 0x00001fff  1 sector     d.bin, free space\n"
            "  0x00003000 to 0x00004fff  2 sectors    b.bin, free space\n"
            "Wrote \"up.hex\"\n");
  std::string update(65536, '\xFF');
  update.replace(0x1000, 0x1000, chip.substr(0x1000, 0x1000));
  update.replace(0x3000, 0x2000, chip.substr(0x3000, 0x2000));
  EXPECT_EQ(read_records(dir, "0x90000000", "65536", "up.hex"), update);

  // Shrunk, unchanged and moved back: nothing moves but what must.
  dir.write("b.bin", image_bytes(10, 2));
  const RunResult third = run_pack(dir.path(), std::string(kPack) + "a.bin b.bin c.bin");
  EXPECT_EQ(third.out, "");
  EXPECT_EQ(TempDir::read(dir.path() / "chip.layout"),
            "# tralk-pack layout of \"chip.bin\": offset, size in bytes, image\n"
            "0x00000000 4096 a.bin\n0x00002000 100 c.bin\n0x00003000 10 b.bin\n");
  // An offset on the command line wins over the layout; a new alignment
  // moves what is not on it.
  const RunResult fourth =
      run_pack(dir.path(),
               "-o chip.bin --size 64KiB --align 16KiB --layout chip.layout a.bin b.bin@0 c.bin");
  EXPECT_EQ(fourth.status, 0) << fourth.out;
  EXPECT_NE(fourth.out.find("Moved \"a.bin\" from 0x00000000 to 0x00004000: \"b.bin\" is given "
                            "that place\nMoved \"b.bin\" from 0x00003000 to 0x00000000: it is "
                            "given that offset\nMoved \"c.bin\" from 0x00002000 to 0x00008000: "
                            "0x2000 is not on the 16384-byte alignment\nWrote"),
            std::string::npos)
      << fourth.out;
}

TEST(PackLayout, ABadLayoutOrDiffIsRefused) {
  TempDir dir;
  dir.write("a.bin", image_bytes(100, 1));
  dir.write("bad.layout", "# ok\n\n0x0 100 a.bin\n0x100 12\n");
  dir.write("twice.layout", "0x0 100 a.bin\n0x100 10 A.bin\n");
  dir.write("small.bin", std::string(100, 'x'));
  dir.write("large.bin", std::string(200, 'x'));
  const struct {
    const char* args;
    const char* out;
  } cases[] = {
      {"-o chip.bin --size 4KiB --layout bad.layout a.bin",
       "tralk-pack: layout \"bad.layout\", line 4: not an offset, a size in bytes and an image's "
       "file name\n"},
      {"-o chip.bin --size 4KiB --layout twice.layout a.bin",
       "tralk-pack: layout \"twice.layout\", line 2: \"A.bin\" is listed before, as \"a.bin\"\n"},
      {"--diff small.bin large.bin --sector 64",
       "tralk-pack: the chips differ in size: \"small.bin\" has 100 bytes, \"large.bin\" 200\n"},
      {"--diff small.bin none.bin --sector 64",
       "tralk-pack: cannot read \"none.bin\": No such file or directory\n"},
  };
  for (const auto& c : cases) {
    const RunResult r = run_pack(dir.path(), c.args);
    EXPECT_EQ(r.out, c.out) << c.args;
    EXPECT_EQ(r.status, 1) << c.args;
  }
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "chip.bin"));
  const RunResult same = run_pack(dir.path(), "--diff small.bin small.bin --sector 64");
  EXPECT_EQ(same.out,
            "\"small.bin\" differs from \"small.bin\" in 0 sectors of 2 sectors of 64 bytes (0 "
            "bytes)\nNo layout \"small.layout\": the images are not named\n");
}

}  // namespace
