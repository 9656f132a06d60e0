// Golden runs: each folder under golden/ holds the inputs of one run and the
// exact expected results: args (the arguments, when not cfg.vfg), stdout.txt ("<DIR>" stands for
// the run's directory), status, and every file the run must leave beside its inputs (.c and .h
// with LF line ends, whatever the host).
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
    if (e.is_regular_file()) names.insert(fs::relative(e.path(), dir).string());
  }
  return names;
}

std::string trim(std::string s) {
  while (!s.empty() && (s.back() == '\n' || s.back() == ' ')) s.pop_back();
  return s;
}

void check_golden_case(const fs::path& golden) {
  SCOPED_TRACE(golden.filename().string());
  TempDir dir;
  fs::copy(golden / "input", dir.path(), fs::copy_options::recursive);
  const fs::path expected = golden / "expected";
  // The command line's arguments, "cfg.vfg" unless the case says otherwise.
  const std::string args =
      fs::exists(golden / "args") ? trim(TempDir::read(golden / "args")) : "cfg.vfg";

  const RunResult r = run_tralk(dir.path(), args);
  EXPECT_EQ(r.out, with_dir(TempDir::read(expected / "stdout.txt"), dir.path()));
  EXPECT_EQ(std::to_string(r.status), trim(TempDir::read(expected / "status")));

  std::set<std::string> want = files_in(golden / "input");
  for (const std::string& name : files_in(expected)) {
    if (name == "stdout.txt" || name == "status") continue;
    want.insert(name);
    // The C files are text, with the host's line ends; the image is bytes.
    const bool text = fs::path(name).extension() != ".bin";
    const std::string got =
        text ? read_text_output(dir.path() / name) : TempDir::read(dir.path() / name);
    EXPECT_EQ(got, TempDir::read(expected / name)) << name;
  }
  EXPECT_EQ(files_in(dir.path()), want) << "files left after the run";
}

TEST(Golden, RunsMatchTheirExpectedResults) {
  int cases = 0;
  for (const auto& e : fs::directory_iterator(TRALK_E2E_GOLDEN)) {
    if (!e.is_directory()) continue;
    check_golden_case(e.path());
    ++cases;
  }
  EXPECT_GT(cases, 0);
}

}  // namespace
