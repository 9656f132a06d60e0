// Whole files read into memory, as the inspector reads images and the
// generator its text files: every byte, also of a file that claims no size,
// or a code and the system's words alone.
#include "base/fileio.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <utility>

#include "support/tempdir.h"

namespace {

TEST(FileIo, ReadsWholeFiles) {
  const TempDir dir;
  std::string image(100003, 'x');
  image.back() = 'y';
  const std::string regular = dir.write("a.bin", image);
  // /proc files claim 0 bytes: the block must grow as they are read.
  std::ifstream cmdline_in("/proc/self/cmdline", std::ios::binary);
  const std::string cmdline{std::istreambuf_iterator<char>(cmdline_in), {}};
  for (const auto& [path, want] : {std::pair{regular, image}, {"/proc/self/cmdline", cmdline}}) {
    const Outcome<FileBytes> read = read_whole_file(path);
    ASSERT_TRUE(read.ok()) << path << ": " << read.error();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(read->data()), read->size), want) << path;
  }
  const Outcome<FileBytes> missing = read_whole_file("/nonexistent/dir/x.bin");
  EXPECT_EQ(missing.code(), Fault::not_found);
  EXPECT_EQ(missing.error(), "No such file or directory");
  const Outcome<FileBytes> folder = read_whole_file("/");
  EXPECT_EQ(folder.code(), Fault::io);
  EXPECT_EQ(folder.error(), "Is a directory");
}

}  // namespace
