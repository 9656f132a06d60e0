#include "base/outfile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "output/output_helpers.h"

using namespace output_test;

namespace {

TEST(OutFile, AppearsOnlyWhenCommitted) {
  TempDir dir;
  const std::string target = dir / "out.c";
  write_file(target, "old");
  {
    SetLock lock({target});
    OutFile file;
    ASSERT_TRUE(file.open(lock, target));
    file.write("new ");
    file.write("text\n");
    EXPECT_EQ(read_file(target), "old") << "the target changes only at commit";
    EXPECT_EQ(dir.entries().size(), 3u) << "a temporary file and the lock beside the target";
    EXPECT_TRUE(file.commit());
  }
  EXPECT_EQ(read_file(target), "new text\n");
  EXPECT_EQ(dir.entries(), (std::set<std::string>{"out.c"}));
}

TEST(OutFile, BinaryBytesUnchanged) {
  TempDir dir;
  const std::string target = dir / "img.bin";
  const std::string bytes("\x00\x0a\x0d\xff\x1a", 5);
  SetLock lock({target});
  OutFile file;
  ASSERT_TRUE(file.open(lock, target, true));
  file.write(bytes);
  ASSERT_TRUE(file.commit());
  EXPECT_EQ(read_file(target), bytes);
}

TEST(OutFile, AbandonedFileLeavesNothingAndOldTargetKept) {
  TempDir dir;
  const std::string target = dir / "out.h";
  write_file(target, "old");
  {
    SetLock lock({target});
    OutFile file;
    ASSERT_TRUE(file.open(lock, target));
    file.write("half");
  }
  EXPECT_EQ(read_file(target), "old");
  EXPECT_EQ(dir.entries(), (std::set<std::string>{"out.h"}));
}

TEST(OutFile, FailuresLeaveNoTemporaryFile) {
  TempDir dir;
  // The directory does not exist: nothing can be created.
  {
    SetLock lock({dir / "nodir/out.c"});
    OutFile missing;
    EXPECT_FALSE(missing.open(lock, dir / "nodir/out.c"));
    EXPECT_EQ(missing.reason(), "No such file or directory");
    EXPECT_FALSE(missing.commit());
  }

  // The name is taken by a directory: writing works, the rename fails.
  std::filesystem::create_directory(dir / "out.bin");
  write_file(dir / "out.bin/keep", "x");
  {
    SetLock lock({dir / "out.bin"});
    OutFile taken;
    ASSERT_TRUE(taken.open(lock, dir / "out.bin", true));
    taken.write("data");
    EXPECT_FALSE(taken.commit());
    EXPECT_EQ(taken.reason(), "Is a directory");
  }
  EXPECT_TRUE(std::filesystem::is_directory(dir / "out.bin"));
  EXPECT_EQ(read_file(dir / "out.bin/keep"), "x");
  EXPECT_EQ(dir.entries(), (std::set<std::string>{"out.bin"}));
}

TEST(OutFile, TwoWritersOfOneTargetUseDistinctTemporaries) {
  TempDir dir;
  const std::string target = dir / "t.c";
  SetLock lock({target});
  OutFile a, b;
  ASSERT_TRUE(a.open(lock, target));
  ASSERT_TRUE(b.open(lock, target));
  EXPECT_EQ(dir.entries().size(), 3u);
  a.write("a");
  b.write("b");
  EXPECT_TRUE(a.commit());
  EXPECT_TRUE(b.commit());
  EXPECT_EQ(read_file(target), "b");
  EXPECT_EQ(dir.entries(), (std::set<std::string>{"t.c", "t.c.tralk-lock"}));
}

// Files replaced as a set: when one cannot be replaced, those replaced
// before it get their old content back and the new ones go again.
TEST(OutFile, SetIsReplacedWholeOrNotAtAll) {
  TempDir dir;
  write_file(dir / "a.c", "old a");
  std::filesystem::create_directory(dir / "sub");
  SetLock lock({dir / "a.c", dir / "b.h", dir / "sub/c.bin"});
  OutFile a, b, c;
  ASSERT_TRUE(a.open(lock, dir / "a.c"));
  ASSERT_TRUE(b.open(lock, dir / "b.h"));
  ASSERT_TRUE(c.open(lock, dir / "sub/c.bin", true));
  for (OutFile* f : {&a, &b, &c}) {
    f->write("new");
    ASSERT_TRUE(f->finish());
  }
  // The third target's folder goes away before the set is put in place.
  for (const auto& e : std::filesystem::directory_iterator(dir / "sub"))
    std::filesystem::remove(e.path());
  std::filesystem::remove(dir / "sub");
  OutFile* set[] = {&a, &b, &c};
  EXPECT_EQ(commit_all(set), 2u);
  EXPECT_EQ(c.reason(), "No such file or directory");
  EXPECT_EQ(read_file(dir / "a.c"), "old a");
  EXPECT_EQ(dir.entries(), (std::set<std::string>{"a.c", "a.c.tralk-lock"}));

  OutFile d, e;
  ASSERT_TRUE(d.open(lock, dir / "a.c"));
  ASSERT_TRUE(e.open(lock, dir / "b.h"));
  d.write("new a");
  e.write("new b");
  ASSERT_TRUE(d.finish() && e.finish());
  OutFile* pair[] = {&d, &e};
  EXPECT_EQ(commit_all(pair), 2u);
  EXPECT_EQ(read_file(dir / "a.c"), "new a");
  EXPECT_EQ(read_file(dir / "b.h"), "new b");
  EXPECT_EQ(dir.entries(), (std::set<std::string>{"a.c", "a.c.tralk-lock", "b.h"}));
}

}  // namespace

namespace {

// A file whose new bytes are its old ones is left as it is (its time too),
// while the set's changed files are replaced.
TEST(OutFile, UnchangedFilesAreLeftAsTheyAre) {
  TempDir dir;
  write_file(dir / "same.h", "header");
  write_file(dir / "new.bin", "old image");
  const auto before = std::filesystem::last_write_time(dir / "same.h");
  std::filesystem::last_write_time(dir / "same.h", before - std::chrono::hours(1));
  const auto stamped = std::filesystem::last_write_time(dir / "same.h");
  SetLock lock({dir / "same.h", dir / "new.bin"});
  OutFile h, bin;
  ASSERT_TRUE(h.open(lock, dir / "same.h"));
  ASSERT_TRUE(bin.open(lock, dir / "new.bin", true));
  h.write("header");
  bin.write("new image");
  ASSERT_TRUE(h.finish() && bin.finish());
  OutFile* set[] = {&h, &bin};
  EXPECT_EQ(commit_all(set), 2u);
  EXPECT_EQ(std::filesystem::last_write_time(dir / "same.h"), stamped);
  EXPECT_EQ(read_file(dir / "new.bin"), "new image");
  EXPECT_EQ(dir.entries(), (std::set<std::string>{"new.bin", "same.h", "same.h.tralk-lock"}));
}

// Temporary names stay within the 255 bytes a file name may have, however
// long the target's name is, and still begin with it.
TEST(OutFile, TemporariesOfLongNamesFitTheNameLimit) {
  TempDir dir;
  for (size_t length : {200u, 230u, 255u}) {
    const std::string name(length - 2, 'n');
    const std::string target = dir / (name + ".c");
    SetLock lock({target});
    OutFile file;
    ASSERT_TRUE(file.open(lock, target)) << length;
    for (const std::string& entry : dir.entries()) {
      EXPECT_LE(entry.size(), 255u);
      EXPECT_EQ(entry.compare(0, 100, name, 0, 100), 0) << entry;
    }
    file.write("x");
    EXPECT_TRUE(file.commit()) << length;
    EXPECT_EQ(read_file(target), "x");
  }
}

}  // namespace
