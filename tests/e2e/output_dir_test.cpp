// --output-dir: images with relative names go under the folder given, and
// only their place changes: not what is written, nor where inputs are found.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "support/run_tralk.h"
#include "support/tempdir.h"

namespace fs = std::filesystem;

namespace {

std::set<std::string> files_in(const fs::path& dir) {
  std::set<std::string> names;
  for (const auto& e : fs::recursive_directory_iterator(dir)) {
    if (e.is_regular_file()) names.insert(fs::relative(e.path(), dir).generic_string());
  }
  return names;
}

std::string trim(std::string s) {
  while (!s.empty() && (s.back() == '\n' || s.back() == ' ')) s.pop_back();
  return s;
}

// The successful golden runs again, their images sent to another folder:
// the same files, byte for byte, and nothing new beside the inputs.
TEST(OutputDir, GoldenRunsWriteTheSameFilesElsewhere) {
  int cases = 0;
  for (const auto& e : fs::directory_iterator(TRALK_E2E_GOLDEN)) {
    const fs::path expected = e.path() / "expected";
    if (fs::exists(e.path() / "args") || trim(TempDir::read(expected / "status")) != "0") continue;
    SCOPED_TRACE(e.path().filename().string());
    TempDir dir;
    fs::copy(e.path() / "input", dir.path() / "in", fs::copy_options::recursive);
    fs::create_directory(dir.path() / "out");
    const RunResult r = run_tralk(dir.path(), "--output-dir out in/cfg.vfg");
    EXPECT_EQ(r.status, 0) << r.out;
    std::set<std::string> outputs;
    for (const std::string& name : files_in(expected)) {
      if (name == "stdout.txt" || name == "status") continue;
      outputs.insert(name);
      const bool text = fs::path(name).extension() != ".bin";
      const fs::path got = dir.path() / "out" / name;
      EXPECT_EQ(text ? read_text_output(got) : TempDir::read(got), TempDir::read(expected / name))
          << name;
    }
    EXPECT_EQ(files_in(dir.path() / "out"), outputs);
    EXPECT_EQ(files_in(dir.path() / "in"), files_in(e.path() / "input"));
    ++cases;
  }
  EXPECT_GT(cases, 0);
}

// A nested name goes under the folder, an absolute one stays where it says;
// the folder counts from where the program was started, not from the
// configuration's folder; the messages name the files where they are.
TEST(OutputDir, NestedAndAbsoluteImageNames) {
  TempDir dir;
  TempDir elsewhere;
  const std::string absolute = host_dir(elsewhere.path()) + (test_host().windows ? "\\" : "/");
  dir.write("cfg/cfg.vfg", "sub/n.bin\nf.sym\n\"" + absolute + "abs.bin\"\nf.sym\n");
  dir.write("cfg/f.sym", "{{8,1},{0x81}}\n");
  fs::create_directories(dir.path() / "out/sub");
  const RunResult r = run_tralk(dir.path(), "--output-dir out cfg/cfg.vfg");
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(files_in(dir.path()), (std::set<std::string>{"cfg/cfg.vfg", "cfg/f.sym", "out/sub/n.c",
                                                         "out/sub/n.h", "out/sub/n.bin"}));
  EXPECT_EQ(files_in(elsewhere.path()), (std::set<std::string>{"abs.c", "abs.h", "abs.bin"}));
  for (const char* line :
       {" Source file: \"<DIR>/out/sub/n.c\"", " Header file: \"<DIR>/out/sub/n.h\"",
        " VFONT image: \"<DIR>/out/sub/n.bin\"", " Loading file to font: \"<DIR>/cfg/f.sym\""}) {
    EXPECT_NE(r.out.find("\n" + with_dir(line, dir.path())), std::string::npos) << line;
  }
  EXPECT_NE(r.out.find("\n VFONT image: \"" + absolute + "abs.bin\""), std::string::npos) << r.out;
}

}  // namespace
