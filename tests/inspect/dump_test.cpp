// tralk-inspect on a chip read back: the image followed by erased bytes is
// sound, a byte in the padding that is not erased is a problem; an image
// found by its offset or by its name in tralk-pack's header, its CRC-32
// checked; --compare names the first differing byte's font and symbol.
#include <gtest/gtest.h>
#include <zlib.h>

#include <string>

#include "base/text.h"
#include "support/run_tralk.h"
#include "support/tempdir.h"

namespace {

RunResult inspect(const TempDir& dir, const std::string& args) {
  return run_command(dir.path(), shell_quote(TRALK_INSPECT_EXE) + " " + args + " 2>&1");
}

TEST(InspectDump, ErasedTailChipHeaderCrcAndComparison) {
  if (test_host().windows) GTEST_SKIP() << "the inspector is built for this host";
  TempDir dir;
  dir.write("ui.vfg", "ui.bin\na.sym\nb.sym Big\n");
  dir.write("a.sym", "{{8,1},{0x81}}\n");
  dir.write("b.sym", "{{8,2},{0x81,0x7E}},\n{{8,2},{0xFF,0x00}},\n{{8,2},{0x3C,0x42}}\n");
  ASSERT_EQ(run_tralk(dir.path(), "--quiet --checksum ui.vfg").status, 0);
  const std::string ui = TempDir::read(dir.path() / "ui.bin");
  ASSERT_EQ(ui.size(), 96u);  // a block of 38 + 3 (+ 3 fill), then one of 38 + 3 x 4 (+ 2)
  dir.write("other.bin", ui);
  const RunResult packed = run_command(
      dir.path(), shell_quote(TRALK_PACK_EXE) +
                      " --quiet -o chip.bin --size 8KiB --align 4KiB --header chip.h other.bin "
                      "ui.bin");
  ASSERT_EQ(packed.status, 0) << packed.out;

  std::string dump = ui + std::string(4096 - ui.size(), '\xFF');
  dir.write("dump.bin", dump);
  std::string stained = dump;
  stained[3000] = '\x00';
  dir.write("stained.bin", stained);
  std::string chip = TempDir::read(dir.path() / "chip.bin");
  // Font block 1 starts at 44, its symbols at 44 + 38: symbol 1's second
  // pixel byte is at 82 + 4 + 2 + 1.
  chip[0x1000 + 89] ^= 0x10;
  dir.write("damaged.bin", chip);
  dir.write("blank.bin", std::string(4096, '\xFF'));
  std::string alt = ui;  // a sound image, not ui.bin, and no header beside it
  alt[89] ^= 0x10;
  dir.write("alt.bin", alt);
  const unsigned long crc = crc32(0, reinterpret_cast<const Bytef*>(ui.data()), 96);
  const std::string help = "Try \"tralk-inspect --help\".\n";

  const struct {
    const char* args;
    std::string out;  // a part of the output: the whole of it from "tralk-inspect:"
    int status;
  } cases[] = {
      {"dump.bin",
       "Dump \"dump.bin\": 4096 bytes; the image at offset 0x0, 96 bytes, then 4000 bytes of 0xff "
       "to the end\nImage \"dump.bin\": 96 bytes, 2 font blocks\n",
       0},
      {"stained.bin",
       "1 problem found:\n  storage index 96, after the image: byte 0x00 at offset 0xbb8 of the "
       "dump is not 0xff: no image lies there (--chip names a chip's images)\n",
       1},
      {"chip.bin --at UI --chip chip.h",
       strf("CRC-32 0x%08lx of 96 bytes, as UI_CRC32 in \"chip.h\" says\n\nNo problems found\n",
            crc),
       0},
      {"damaged.bin --at ui.bin --chip chip.h --compare ui.bin",
       strf("The dump differs from \"ui.bin\" at offset 0x1000 in 1 of its 96 bytes, the first at "
            "storage index 89 (offset 0x1059 of the dump): symbol 1 of font block 1 (Big)\n\n"
            "1 problem found:\n  storage index 0, CRC-32: 0x%08lx of 96 bytes, but UI_CRC32 in "
            "\"chip.h\" is 0x%08lx\n",
            crc32(0, reinterpret_cast<const Bytef*>(chip.data() + 0x1000), 96), crc),
       1},
      {"dump.bin --compare ui.bin",
       strf("CRC-32 0x%08lx of 96 bytes, as UI_CRC32 in \"ui.h\" says\nThe dump holds \"ui.bin\" "
            "at offset 0x0: all 96 bytes are the same\n\nNo problems found\n",
            crc),
       0},
      {"dump.bin --compare alt.bin",
       "symbol 1 of font block 1\n\nNo problems found in the image, but it is not the "
       "image compared\n",
       1},
      {"blank.bin", "1 problem found:\n  storage index 0, image: empty: no font blocks\n", 1},
      {"chip.bin --at NOPE --chip chip.h",
       "tralk-inspect: there is no image NOPE in \"chip.h\"; it names OTHER, UI\n", 2},
      {"chip.bin --at ui",
       "tralk-inspect: --at \"ui\" is no offset; an image's name needs --chip\n" + help, 2},
      {"chip.bin --at 0x2000",
       "tralk-inspect: offset 0x2000 lies past the end of the dump (8192 bytes)\n", 2},
  };
  for (const auto& c : cases) {
    const RunResult r = inspect(dir, c.args);
    if (c.out.starts_with("tralk-inspect:"))
      EXPECT_EQ(r.out, c.out) << c.args;
    else
      EXPECT_NE(r.out.find(c.out), std::string::npos) << c.args << "\n" << r.out;
    EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.out;
  }
}

}  // namespace
