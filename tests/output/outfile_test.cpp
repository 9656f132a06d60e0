#include "output/outfile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "output/output_helpers.h"

using namespace output_test;

namespace {

TEST(OutFile, AppearsOnlyWhenCommitted) {
  TempDir dir;
  const std::string target = dir / "out.c";
  write_file(target, "old");
  {
    OutFile file;
    ASSERT_TRUE(file.open(target));
    file.write("new ");
    file.write("text\n");
    EXPECT_EQ(read_file(target), "old") << "the target changes only at commit";
    EXPECT_EQ(dir.entries().size(), 2u) << "a temporary file beside the target";
    EXPECT_TRUE(file.commit());
  }
  EXPECT_EQ(read_file(target), "new text\n");
  EXPECT_EQ(dir.entries(), (std::set<std::string>{"out.c"}));
}

TEST(OutFile, BinaryBytesUnchanged) {
  TempDir dir;
  const std::string target = dir / "img.bin";
  const std::string bytes("\x00\x0a\x0d\xff\x1a", 5);
  OutFile file;
  ASSERT_TRUE(file.open(target, true));
  file.write(bytes);
  ASSERT_TRUE(file.commit());
  EXPECT_EQ(read_file(target), bytes);
}

TEST(OutFile, AbandonedFileLeavesNothingAndOldTargetKept) {
  TempDir dir;
  const std::string target = dir / "out.h";
  write_file(target, "old");
  {
    OutFile file;
    ASSERT_TRUE(file.open(target));
    file.write("half");
  }
  EXPECT_EQ(read_file(target), "old");
  EXPECT_EQ(dir.entries(), (std::set<std::string>{"out.h"}));
}

TEST(OutFile, FailuresLeaveNoTemporaryFile) {
  TempDir dir;
  // The directory does not exist: nothing can be created.
  OutFile missing;
  EXPECT_FALSE(missing.open(dir / "nodir/out.c"));
  EXPECT_FALSE(missing.commit());

  // The name is taken by a directory: writing works, the rename fails.
  std::filesystem::create_directory(dir / "out.bin");
  write_file(dir / "out.bin/keep", "x");
  {
    OutFile taken;
    ASSERT_TRUE(taken.open(dir / "out.bin", true));
    taken.write("data");
    EXPECT_FALSE(taken.commit());
  }
  EXPECT_TRUE(std::filesystem::is_directory(dir / "out.bin"));
  EXPECT_EQ(read_file(dir / "out.bin/keep"), "x");
  EXPECT_EQ(dir.entries(), (std::set<std::string>{"out.bin"}));
}

TEST(OutFile, TwoWritersOfOneTargetUseDistinctTemporaries) {
  TempDir dir;
  const std::string target = dir / "t.c";
  OutFile a, b;
  ASSERT_TRUE(a.open(target));
  ASSERT_TRUE(b.open(target));
  EXPECT_EQ(dir.entries().size(), 2u);
  a.write("a");
  b.write("b");
  EXPECT_TRUE(a.commit());
  EXPECT_TRUE(b.commit());
  EXPECT_EQ(read_file(target), "b");
  EXPECT_EQ(dir.entries(), (std::set<std::string>{"t.c"}));
}

}  // namespace
