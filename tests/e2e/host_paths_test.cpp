// Names as Windows users write them: "\" separators, names rooted on the
// current drive, drive-relative names ("Z:fonts\d.sym"), letter case, and
// wildcards that must match long names only, in byte order. The same tests
// run against tralk on Linux and against tralk.exe under Wine; where the
// hosts differ (drives, letter case) each host's meaning is checked.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/run_tralk.h"
#include "support/tempdir.h"

namespace fs = std::filesystem;

namespace {

const char kBanner[] = "\nVFONT GENERATOR  V1.2\nOpen configuration file: cfg.vfg OK\n";
const char kDone[] = "\n\nNo errors detected. Done\n";
const char kSkipped[] = "\nSkipping config file processing due to errors\n\nPress a key to Exit\n";
const char kFont[] = "{{8,2},{0x81,0x42}}";  // one symbol, a 44-byte block
// Runs whose outputs differ between the hosts by design.
const RunOptions kHostSpecific{"", false};

// The drive a drive-relative name uses: the run's own under Windows; on
// Linux "Z:" is no drive but part of a name.
std::string drive_of(const fs::path& dir) {
  return test_host().windows ? host_dir(dir).substr(0, 2) : "Z:";
}

// The directory holding a drive-relative name's file, relative to cfg/.
std::string drive_relative_dir(const fs::path& dir) {
  return test_host().windows ? "fonts" : drive_of(dir) + "fonts";
}

void write_fonts(const TempDir& dir) {
  for (const char* name : {"fonts/a.sym", "fonts/sub/b2.sym", "fonts/sub/b1.sym", "fonts/c1.sym",
                           "fonts/with space.sym"})
    dir.write(name, kFont);
  dir.write("cfg/" + drive_relative_dir(dir.path()) + "/d.sym", kFont);
  fs::create_directories(dir.path() / "cfg/out");
}

TEST(HostPaths, BackslashesRootedAndDriveRelativeNames) {
  TempDir dir;
  write_fonts(dir);
  // Rooted on the current drive: the directory's path without a drive.
  const std::string rooted = replace_all(fs::canonical(dir.path()).string(), "/", "\\");
  const std::string drive = drive_of(dir.path());
  dir.write("cfg/proj.vfg", "out\\img.bin 0x2\n..\\fonts\\a.sym\n..\\fonts\\sub\\b?.sym B*\n" +
                                rooted + "\\fonts\\c*.sym\n\"..\\fonts\\with space.sym\"\n" +
                                drive + "fonts\\d.sym\n");
  const RunResult r = run_tralk(dir.path(), shell_quote("cfg\\proj.vfg"));
  const std::string load = "\n Loading file to font: \"<DIR>/";
  const std::string want =
      "\nVFONT GENERATOR  V1.2\nOpen configuration file: cfg\\proj.vfg OK\n"
      "\nDefining virtual font: \"out\\img.bin\" ID=0x2" +
      load + "fonts/a.sym\" OK" + load + "fonts/sub/b1.sym\" OK" + load + "fonts/sub/b2.sym\" OK" +
      load + "fonts/c1.sym\" OK" + load + "fonts/with space.sym\" OK" + load + "cfg/" +
      drive_relative_dir(dir.path()) + "/d.sym\" OK" +
      "\n\nCreating VFONT files\n Source file: \"<DIR>/cfg/out/img.c\"\n Header file: "
      "\"<DIR>/cfg/out/img.h\"\n VFONT image: \"<DIR>/cfg/out/img.bin\"\n  Size 0x108, 264 \n" +
      kDone;
  EXPECT_EQ(r.out, with_dir(want, dir.path()));
  EXPECT_EQ(r.status, 0);

  // The same configuration written with "/" and plain relative names gives
  // the same three files.
  TempDir plain;
  write_fonts(plain);
  plain.write("cfg/proj.vfg",
              "out/img.bin 0x2\n../fonts/a.sym\n../fonts/sub/b?.sym B*\n"
              "../fonts/c*.sym\n\"../fonts/with space.sym\"\n" +
                  drive_relative_dir(dir.path()) + "/d.sym\n");
  ASSERT_EQ(run_tralk(plain.path(), "cfg/proj.vfg").status, 0);
  for (const char* name : {"img.c", "img.h", "img.bin"}) {
    const fs::path out = fs::path("cfg/out") / name;
    EXPECT_EQ(TempDir::read(dir.path() / out), TempDir::read(plain.path() / out)) << name;
  }
  EXPECT_NE(read_text_output(dir.path() / "cfg/out/img.h")
                .find("extern GCODE GFONTV FCODE a;\nextern GCODE GFONTV FCODE Bb1;\n"
                      "extern GCODE GFONTV FCODE Bb2;\nextern GCODE GFONTV FCODE c1;\n"
                      "extern GCODE GFONTV FCODE with_space;\nextern GCODE GFONTV FCODE d;\n"),
            std::string::npos);
}

// Wildcards match the long names of regular files only, with "?" standing
// for exactly one character (the system's own search also matches the 8.3
// short name LONGNA~1.SYM of longname.symbol, and lets "?" match nothing),
// and the matches come in byte order of their names, whatever the file
// system's order.
TEST(HostPaths, WildcardsMatchLongNamesOfFilesInByteOrder) {
  struct {
    const char* config;
    std::string output;  // after the banner
    int status;
  } cases[] = {
      {"img.bin\n*.sym\n",
       "\nDefining virtual font: \"img.bin\" ID=0\n Loading file to font: \"<DIR>/B.sym\" OK\n "
       "Loading file to font: \"<DIR>/_c.sym\" OK\n Loading file to font: \"<DIR>/a.sym\" OK"
       "\n\nCreating VFONT files\n Source file: \"<DIR>/img.c\"\n Header file: \"<DIR>/img.h\"\n "
       "VFONT image: \"<DIR>/img.bin\"\n  Size 0x84, 132 \n" +
           std::string(kDone),
       0},
      {"img.bin\na?.sym\n",
       "\nDefining virtual font: \"img.bin\" ID=0\n- Font file not found <DIR>/a?.sym" +
           std::string(kSkipped),
       255},
      {"img.bin\nlong*.sym\n",
       "\nDefining virtual font: \"img.bin\" ID=0\n- Font file not found <DIR>/long*.sym" +
           std::string(kSkipped),
       255},
  };
  for (const auto& c : cases) {
    TempDir dir;
    dir.write("cfg.vfg", c.config);
    for (const char* name : {"a.sym", "_c.sym", "B.sym", "longname.symbol", "dir.sym/x.sym"})
      dir.write(name, kFont);
    const RunResult r = run_tralk(dir.path(), "cfg.vfg");
    EXPECT_EQ(r.out, kBanner + with_dir(c.output, dir.path())) << c.config;
    EXPECT_EQ(r.status, c.status) << c.config;
  }
}

// Windows compares names regardless of letter case, POSIX exactly.
TEST(HostPaths, LetterCaseIsTheHosts) {
  TempDir dir;
  dir.write("cfg.vfg", "img.bin\nFONTS\\A*.SYM\n");
  dir.write("fonts/a1.sym", kFont);
  dir.write("fonts/A2.sym", kFont);
  const RunResult r = run_tralk(dir.path(), "cfg.vfg", kHostSpecific);
  const std::string start = "\nDefining virtual font: \"img.bin\" ID=0";
  if (test_host().windows) {
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.starts_with(
        kBanner + with_dir(start + "\n Loading file to font: \"<DIR>/FONTS/A2.sym\" OK"
                                   "\n Loading file to font: \"<DIR>/FONTS/a1.sym\" OK",
                           dir.path())))
        << r.out;
  } else {
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.out,
              kBanner + with_dir(start + "\n- Font file not found <DIR>/FONTS/A*.SYM", dir.path()) +
                  kSkipped);
  }
}

// An image name with a drive: on Windows the drive is no part of the base
// name, so the C files include drv.h and guard with TRALK_DRV_H; elsewhere
// "Z:" is part of the file name.
TEST(HostPaths, ImageNameWithADrive) {
  TempDir dir;
  const std::string drive = drive_of(dir.path());
  dir.write("cfg.vfg", drive + "drv.bin\nf.sym\n");
  dir.write("f.sym", kFont);
  const RunResult r = run_tralk(dir.path(), "cfg.vfg", kHostSpecific);
  EXPECT_EQ(r.status, 0) << r.out;
  const std::string base = test_host().windows ? "drv" : drive + "drv";
  const std::string guard = test_host().windows ? "DRV" : "Z_DRV";
  EXPECT_NE(r.out.find(with_dir("\n Source file: \"<DIR>/" + base + ".c\"", dir.path())),
            std::string::npos)
      << r.out;
  EXPECT_NE(read_text_output(dir.path() / (base + ".c")).find("#include <" + base + ".h>\n"),
            std::string::npos);
  const std::string header = read_text_output(dir.path() / (base + ".h"));
  EXPECT_NE(header.find("#ifndef TRALK_" + guard + "_H\n"), std::string::npos) << header;
  EXPECT_NE(header.find("(File) name : \"" + base + ".bin\""), std::string::npos) << header;
  EXPECT_EQ(fs::file_size(dir.path() / (base + ".bin")), 44u);
}

}  // namespace
