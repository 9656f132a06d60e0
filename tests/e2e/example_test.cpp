// The shipped example runs cleanly and its C output compiles.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "support/run_tralk.h"
#include "support/tempdir.h"

namespace fs = std::filesystem;

TEST(Example, ShippedConfigurationBuildsBothImages) {
  TempDir dir;
  for (const auto& e : fs::directory_iterator(TRALK_EXAMPLES)) {
    const std::string ext = e.path().extension().string();
    // Inputs only: outputs of an earlier run beside them are not copied, nor
    // the CMake example's folder.
    if (!e.is_regular_file() || ext == ".c" || ext == ".h" || ext == ".bin") continue;
    fs::copy(e.path(), dir.path() / e.path().filename());
  }
  const RunResult r = run_tralk(dir.path(), "demo.vfg");
  EXPECT_EQ(r.status, 0) << r.out;
  const std::string done = "\n\nNo errors detected. Done\n";
  ASSERT_GE(r.out.size(), done.size());
  EXPECT_EQ(r.out.substr(r.out.size() - done.size()), done);
  for (const char* image : {"demo", "pictures"}) {
    EXPECT_GT(fs::file_size(dir.path() / (std::string(image) + ".bin")), 0u) << image;
    const std::string cmd = "cc -std=c99 -Wall -Wextra -Werror -pedantic -c -I" +
                            shell_quote(TRALK_FIXTURES) + " -I" + shell_quote(dir.str()) + " -o " +
                            shell_quote(dir.file(std::string(image) + ".o")) + " " +
                            shell_quote(dir.file(std::string(image) + ".c"));
    EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
  }
}
