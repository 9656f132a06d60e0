// Runs stopped at every step of their writing: a write, sync, close, rename
// or link that fails, a signal that arrives, a run killed outright, runs of
// one image at the same time, a file-size limit. Whatever happens, the files
// of an image on disk are one run's whole set, and nothing else is left.
// The steps are reached through a library loaded into the program
// (support/fault_shim.c); Linux only.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "base/set_lock.h"
#include "support/run_tralk.h"
#include "support/tempdir.h"

#ifdef TRALK_FAULT_SHIM

namespace fs = std::filesystem;

namespace {

// The fault library loads into Linux programs; the runs under Wine test the
// Windows program's messages and files, not its writing's steps.
#define SKIP_ON_WINDOWS_HOST() \
  if (test_host().windows) GTEST_SKIP() << "steps of writing are tested on the Linux program"

// Linux runs only: their outputs have no Windows counterpart to compare.
const RunOptions kNotRecorded{"", false};

struct Ended {
  int status = -1;  // exit status, or -1 when a signal ended the run
  int signal = 0;   // the signal that ended it
  std::string out;
};

// Runs program (tralk unless given) in dir with the fault library and the
// given TRALK_FAULT.
Ended run_faulty(const TempDir& dir, const std::string& fault, const std::string& args = "cfg.vfg",
                 const std::string& log = "", const char* program = TRALK_EXE) {
  const std::string out = dir / "console.txt";
  const pid_t child = ::fork();
  if (child == 0) {
    if (::chdir(dir.str().c_str()) != 0) ::_exit(127);
    ::setenv("LD_PRELOAD", TRALK_FAULT_SHIM, 1);
    // A sanitizer build's runtime must otherwise be loaded first.
    ::setenv("ASAN_OPTIONS", "verify_asan_link_order=0:detect_leaks=0", 1);
    if (!fault.empty()) ::setenv("TRALK_FAULT", fault.c_str(), 1);
    if (!log.empty()) ::setenv("TRALK_FAULT_LOG", log.c_str(), 1);
    if (!std::freopen("/dev/null", "r", stdin) || !std::freopen(out.c_str(), "w", stdout))
      ::_exit(127);
    ::dup2(STDOUT_FILENO, STDERR_FILENO);
    std::vector<std::string> words;
    std::istringstream in(args);
    for (std::string w; in >> w;) words.push_back(w);
    std::vector<char*> argv{const_cast<char*>(program)};
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    ::execv(program, argv.data());
    ::_exit(127);
  }
  int st = 0;
  ::waitpid(child, &st, 0);
  Ended e;
  if (WIFEXITED(st)) e.status = WEXITSTATUS(st);
  if (WIFSIGNALED(st)) e.signal = WTERMSIG(st);
  e.out = TempDir::read(out);
  fs::remove(out);
  return e;
}

// The files of the folder but the inputs, with their bytes.
std::map<std::string, std::string> files_of(const TempDir& dir) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::directory_iterator(dir.path())) {
    const std::string name = e.path().filename().string();
    if (name != "cfg.vfg" && name != "f.sym") files[name] = TempDir::read(e.path());
  }
  return files;
}

// A folder with a configuration, the image an earlier run made of an old
// font, and a new font: a run replaces the old set with the new one.
struct Scene {
  TempDir dir;
  std::map<std::string, std::string> old_files, new_files;

  Scene() {
    dir.write("cfg.vfg", "img.bin 0x10\nf.sym\n");
    dir.write("f.sym", "{{8,1},{0x81}}\n");
    EXPECT_EQ(run_tralk(dir.path(), "cfg.vfg", kNotRecorded).status, 0);
    old_files = files_of(dir);
    // More symbols: every file of the image changes.
    const char kNewFont[] = "{{8,2},{0x18,0x3C}},{{8,2},{0x66,0x99}}\n";
    dir.write("f.sym", kNewFont);
    TempDir again;
    again.write("cfg.vfg", "img.bin 0x10\nf.sym\n");
    again.write("f.sym", kNewFont);
    EXPECT_EQ(run_tralk(again.path(), "cfg.vfg", kNotRecorded).status, 0);
    new_files = files_of(again);
  }
};

// How often each call is made by a run of the scene: "rename" -> 3, ...
std::map<std::string, int> steps() {
  Scene s;
  const std::string log = s.dir / "calls.log";
  EXPECT_EQ(run_faulty(s.dir, "", "cfg.vfg", log).status, 0);
  std::map<std::string, int> count;
  std::istringstream lines(TempDir::read(log));
  for (std::string call; lines >> call;) {
    int n = 0;
    lines >> n;
    count[call] = std::max(count[call], n);
  }
  return count;
}

TEST(Interrupted, EveryFailingCallKeepsTheOldSetAndSaysWhy) {
  SKIP_ON_WINDOWS_HOST();
  const std::map<std::string, int> count = steps();
  ASSERT_EQ(count.at("rename"), 3) << "three files, one rename each";
  ASSERT_EQ(count.at("create"), 4) << "three temporaries and the journal";
  for (const auto& [call, n] : count) {
    for (int at = 1; at <= n; ++at) {
      Scene s;
      const std::string fault = call + ":" + std::to_string(at) + ":ENOSPC";
      const Ended e = run_faulty(s.dir, fault);
      EXPECT_EQ(e.status, 255) << fault;
      EXPECT_NE(e.out.find("\"\n No space left on device\n"), std::string::npos) << fault << "\n"
                                                                                 << e.out;
      EXPECT_EQ(files_of(s.dir), s.old_files) << fault;
    }
  }
}

TEST(Interrupted, SignalsLeaveOneWholeSetAndEndTheRunAsTheyWould) {
  SKIP_ON_WINDOWS_HOST();
  const std::map<std::string, int> count = steps();
  for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
    for (const auto& [call, n] : count) {
      for (int at = 1; at <= n; ++at) {
        Scene s;
        const std::string fault = call + ":" + std::to_string(at) + ":SIG" + sigabbrev_np(sig);
        const Ended e = run_faulty(s.dir, fault);
        EXPECT_EQ(e.signal, sig) << fault;
        // Held while the set is replaced (its journal, the fourth file
        // made, then the renames): a signal there waits until it is done.
        const bool replacing = call == "rename" || (call != "link" && at == 4);
        EXPECT_EQ(files_of(s.dir), replacing ? s.new_files : s.old_files) << fault;
      }
    }
  }
}

// Killed between two renames, a run leaves a mixed set and its journal: the
// next run that writes the image completes the set before anything else.
TEST(Interrupted, KilledMidSetIsCompletedByTheNextRun) {
  SKIP_ON_WINDOWS_HOST();
  for (int at = 1; at <= 3; ++at) {
    Scene s;
    const Ended e = run_faulty(s.dir, "rename:" + std::to_string(at) + ":SIGKILL");
    EXPECT_EQ(e.signal, SIGKILL);
    std::set<std::string> journals;
    for (const auto& [name, bytes] : files_of(s.dir))
      if (name.ends_with(".tralk-set")) journals.insert(name);
    EXPECT_EQ(journals.size(), 1u) << "renames begun only once the journal is on the disk";
    { SetLock next({s.dir / "img.c", s.dir / "img.h", s.dir / "img.bin"}); }
    EXPECT_EQ(files_of(s.dir), s.new_files) << "killed before rename " << at;
  }
  // Killed before its journal was written: the old set stands, and what the
  // run left is removed.
  Scene s;
  EXPECT_EQ(run_faulty(s.dir, "sync:3:SIGKILL").signal, SIGKILL);
  EXPECT_GT(files_of(s.dir).size(), s.old_files.size());
  { SetLock next({s.dir / "img.c", s.dir / "img.h", s.dir / "img.bin"}); }
  EXPECT_EQ(files_of(s.dir), s.old_files);
}

// Runs that write one image at once take turns: every set on disk is one
// run's, every run succeeds and none leaves a file behind. Under Wine too:
// the Windows program's lock is another implementation.
TEST(Interrupted, RunsAtOnceLeaveOneRunsSet) {
  constexpr int kRuns = 8, kRounds = 10;
  const TestHost& host = test_host();
  const std::string program =
      (host.wrapper.empty() ? "" : host.wrapper + " ") + shell_quote(host.exe);
  TempDir dir;
  std::vector<std::map<std::string, std::string>> sets;
  for (int k = 0; k < kRuns; ++k) {
    // Each configuration makes a different image of the same name.
    const std::string cfg = "img.bin " + std::to_string(k) + "\nf" + std::to_string(k) + ".sym\n";
    std::string pixels = "0x81";
    for (int row = 0; row < k; ++row) pixels += ",0x" + std::to_string(10 + row);
    const std::string sym = "{{8," + std::to_string(k + 1) + "},{" + pixels + "}}\n";
    TempDir alone;
    alone.write("cfg.vfg", cfg);
    alone.write("f" + std::to_string(k) + ".sym", sym);
    EXPECT_EQ(run_tralk(alone.path(), "cfg.vfg", kNotRecorded).status, 0);
    std::map<std::string, std::string> set;
    for (const char* name : {"img.c", "img.h", "img.bin"}) set[name] = TempDir::read(alone / name);
    sets.push_back(set);
    dir.write("cfg" + std::to_string(k) + ".vfg", cfg);
    dir.write("f" + std::to_string(k) + ".sym", sym);
  }
  for (int round = 0; round < kRounds; ++round) {
    std::string all;
    for (int k = 0; k < kRuns; ++k)
      all += "(" + program + " cfg" + std::to_string(k) + ".vfg >/dev/null 2>&1 || echo failed " +
             std::to_string(k) + ") & ";
    const RunResult r = run_command(dir.path(), "(" + all + "wait) && " + "ls -A");
    std::map<std::string, std::string> now;
    for (const char* name : {"img.c", "img.h", "img.bin"}) now[name] = TempDir::read(dir / name);
    bool one_runs = false;
    for (const auto& set : sets) one_runs = one_runs || set == now;
    EXPECT_TRUE(one_runs) << "round " << round;
    EXPECT_EQ(r.out.find("failed"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find(".tralk-"), std::string::npos) << r.out;
  }
}

// A file-size limit makes the write fail with its reason, not end the run.
TEST(Interrupted, FileSizeLimitIsAWriteFailure) {
  SKIP_ON_WINDOWS_HOST();
  TempDir dir;
  dir.write("cfg.vfg", "img.bin\nbig.sym\n");
  std::string pixels = "0";
  for (int i = 1; i < 8192; ++i) pixels += ",0";
  dir.write("big.sym", "{{64,1024},{" + pixels + "}}\n");
  const RunResult r = run_tralk(dir.path(), "cfg.vfg", {"ulimit -f 4;", false});
  EXPECT_EQ(r.status, 255);
  EXPECT_NE(r.out.find("/img.bin\"\n File too large\n"), std::string::npos) << r.out;
  EXPECT_EQ(dir.entries(), (std::set<std::string>{"cfg.vfg", "big.sym"}));
}

#ifdef TRALK_IMPORT_EXE
// The importer's .sym and .cp are one set as well.
TEST(Interrupted, ImportedFontAndCodepageStayOneSet) {
  SKIP_ON_WINDOWS_HOST();
  const std::string font = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
  if (!fs::exists(font)) GTEST_SKIP() << "needs " << font << " (fonts-dejavu-core)";
  const auto import = [&](const TempDir& dir, const std::string& range, const std::string& fault) {
    return run_faulty(dir, fault, "font " + font + " --size 10 -r " + range + " -o out.sym", "",
                      TRALK_IMPORT_EXE);
  };
  const auto outputs = [](const TempDir& dir) {
    std::map<std::string, std::string> files = files_of(dir);
    files.erase("console.txt");
    return files;
  };
  struct Case {
    const char* fault;
    int signal;
    bool replaced;
  } cases[] = {
      {"create:1:SIGINT", SIGINT, false}, {"sync:2:SIGTERM", SIGTERM, false},
      {"create:3:SIGHUP", SIGHUP, true},  // the journal: the set is being replaced
      {"rename:1:SIGINT", SIGINT, true},  {"rename:2:ENOSPC", 0, false},
  };
  for (const Case& c : cases) {
    TempDir dir, fresh;
    ASSERT_EQ(import(dir, "0x41-0x42", "").status, 0);
    const auto old_set = outputs(dir);
    ASSERT_EQ(import(fresh, "0x41-0x43", "").status, 0);
    const auto new_set = outputs(fresh);
    ASSERT_EQ(new_set.size(), 2u) << "out.sym and out.cp";
    const Ended e = import(dir, "0x41-0x43", c.fault);
    EXPECT_EQ(e.signal, c.signal) << c.fault;
    if (!c.signal) {
      EXPECT_EQ(e.status, 1) << c.fault;
    }
    EXPECT_EQ(outputs(dir), c.replaced ? new_set : old_set) << c.fault;
  }
}
#endif

#ifdef TRALK_PACK_EXE
// A disk that fills while tralk-pack writes the chip: the error names the
// file that filled it, not one finished after it, and nothing is left.
TEST(Interrupted, PackOnAFullDiskNamesTheFileThatFilledIt) {
  SKIP_ON_WINDOWS_HOST();
  TempDir dir;
  dir.write("a.bin", std::string(40000, 'a'));
  dir.write("b.bin", std::string(60000, 'b'));
  // The layout is written first (write 1), then the chip: every write from
  // the chip's first on fails.
  const Ended e = run_faulty(dir, "write:2+:ENOSPC",
                             "--quiet -o chip.bin --size 1MiB --header chip.h --hex chip.hex "
                             "a.bin b.bin",
                             "", TRALK_PACK_EXE);
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.out, "tralk-pack: cannot write \"chip.bin\": No space left on device\n");
  EXPECT_EQ(dir.entries(), (std::set<std::string>{"a.bin", "b.bin"}));
}
#endif

}  // namespace

#endif
