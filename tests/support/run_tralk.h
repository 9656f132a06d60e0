// Runs the built program as a user would, in a given directory, with no
// standard input, and collects what it printed and its exit status.
//
// The program is the tralk built beside the tests unless the environment
// names another build of it: TRALK_TEST_EXE (a tralk.exe, say) run through
// TRALK_TEST_WRAPPER (wine64). A Windows program shows the run's directory
// in its own form (drive Z:, "\" separators) and ends its lines with CR LF;
// with_dir and read_text_output turn expectations and outputs accordingly.
// With TRALK_TEST_RECORD set to a directory, the .bin, .c and .h files of
// every run are copied there (test name, run number), so that the runs of
// two hosts can be compared file by file.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

struct RunResult {
  std::string out;  // standard output and standard error, in order
  int status = -1;  // exit status as a shell sees it (-1 from the program is 255)
};

struct TestHost {
  std::string exe;      // the program
  std::string wrapper;  // the command that runs it, or empty
  bool windows = false;
  std::string record;  // where the outputs of every run are copied, or empty
};

inline std::string env_or(const char* name, const std::string& fallback) {
  const char* value = std::getenv(name);
  return value && *value ? value : fallback;
}

inline const TestHost& test_host() {
  static const TestHost host = [] {
    TestHost h;
    h.exe = env_or("TRALK_TEST_EXE", TRALK_EXE);
    h.wrapper = env_or("TRALK_TEST_WRAPPER", "");
    std::string ext = std::filesystem::path(h.exe).extension().string();
    for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    h.windows = ext == ".exe";
    h.record = env_or("TRALK_TEST_RECORD", "");
    return h;
  }();
  return host;
}

inline std::string shell_quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// Replaces every occurrence of from in s by to.
inline std::string replace_all(std::string s, const std::string& from, const std::string& to) {
  for (size_t pos = 0; (pos = s.find(from, pos)) != std::string::npos; pos += to.size()) {
    s.replace(pos, from.size(), to);
  }
  return s;
}

// The directory as the program under test names it: under Wine the Unix
// root is drive Z:.
inline std::string host_dir(const std::filesystem::path& dir) {
  const std::string unix_dir = std::filesystem::canonical(dir).string();
  return test_host().windows ? "Z:" + replace_all(unix_dir, "/", "\\") : unix_dir;
}

// text with every "<DIR>" replaced by the run's directory in the program's
// form; on Windows the "/" separators of the path that follows it (up to a
// quote, blank or line end) become "\".
inline std::string with_dir(std::string text, const std::filesystem::path& dir) {
  const std::string here = host_dir(dir);
  const std::string mark = "<DIR>";
  for (size_t pos = 0; (pos = text.find(mark, pos)) != std::string::npos;) {
    text.replace(pos, mark.size(), here);
    pos += here.size();
    for (; pos < text.size() && text[pos] != '"' && text[pos] != ' ' && text[pos] != '\n'; ++pos) {
      if (test_host().windows && text[pos] == '/') text[pos] = '\\';
    }
  }
  return text;
}

// A whole file as bytes; empty when it does not exist.
inline std::string read_bytes(const std::filesystem::path& p) {
  std::string bytes;
  std::FILE* f = std::fopen(p.string().c_str(), "rb");
  if (!f) return bytes;
  char buf[4096];
  for (size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) bytes.append(buf, n);
  std::fclose(f);
  return bytes;
}

// Text written by a Windows program ends its lines with CR LF: checks that
// every line does and returns the text with LF line ends.
inline std::string from_host_lines(const std::string& text, const std::string& what) {
  if (!test_host().windows) return text;
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) {
      ADD_FAILURE() << what << ": a line ends in LF alone at byte " << i;
    }
    out += text[i];
  }
  return out;
}

namespace run_tralk_detail {

inline bool is_output(const std::filesystem::path& p) {
  std::string ext = p.extension().string();
  for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return ext == ".bin" || ext == ".c" || ext == ".h";
}

// Copies the outputs in cwd to record/<suite.test>/<run number>/.
inline void record_outputs(const std::filesystem::path& cwd) {
  namespace fs = std::filesystem;
  const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
  const std::string name =
      test ? std::string(test->test_suite_name()) + "." + test->name() : "no-test";
  static std::map<std::string, int> runs;
  const fs::path to = fs::path(test_host().record) / name / std::to_string(++runs[name]);
  fs::create_directories(to);
  for (const auto& e : fs::recursive_directory_iterator(cwd)) {
    if (!e.is_regular_file() || !is_output(e.path())) continue;
    const fs::path copy = to / fs::relative(e.path(), cwd);
    fs::create_directories(copy.parent_path());
    fs::copy_file(e.path(), copy, fs::copy_options::overwrite_existing);
  }
}

}  // namespace run_tralk_detail

struct RunOptions {
  std::string prefix;             // shell text put before the program (limits, traps)
  bool same_on_all_hosts = true;  // false: the outputs are not recorded for comparison
};

// args are passed through the shell as written (quote them where needed).
// The output goes to a file, not a pipe: processes that the program leaves
// behind (Wine's services, started by its first run) would keep a pipe open.
inline RunResult run_tralk(const std::filesystem::path& cwd, const std::string& args,
                           const RunOptions& options = {}) {
  namespace fs = std::filesystem;
  const TestHost& host = test_host();
  static unsigned runs = 0;
  const fs::path capture = fs::temp_directory_path() / ("tralk-out-" + std::to_string(::getpid()) +
                                                        "-" + std::to_string(++runs));
  std::string cmd = "cd " + shell_quote(cwd.string()) + " && " + options.prefix + " ";
  if (!host.wrapper.empty()) cmd += host.wrapper + " ";
  cmd += shell_quote(host.exe) + " " + args + " </dev/null >" + shell_quote(capture.string()) +
         " 2>&1";
  RunResult r;
  const int st = std::system(cmd.c_str());
  r.status = st != -1 && WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  r.out = from_host_lines(read_bytes(capture), "console output");
  std::error_code ec;
  fs::remove(capture, ec);
  if (!host.record.empty() && options.same_on_all_hosts) run_tralk_detail::record_outputs(cwd);
  return r;
}

// A shell command run in cwd with no standard input: what it printed on
// standard output and its exit status.
inline RunResult run_command(const std::filesystem::path& cwd, const std::string& command) {
  const std::string line = "cd " + shell_quote(cwd.string()) + " && " + command + " </dev/null";
  RunResult r;
  std::FILE* pipe = ::popen(line.c_str(), "r");
  if (!pipe) return r;
  char buf[4096];
  for (size_t n; (n = std::fread(buf, 1, sizeof buf, pipe)) > 0;) r.out.append(buf, n);
  const int st = ::pclose(pipe);
  r.status = st != -1 && WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  return r;
}

// What a shell command run in cwd printed on standard output.
inline std::string run_shell(const std::filesystem::path& cwd, const std::string& command) {
  return run_command(cwd, command).out;
}

// A generated text file (.c, .h) with LF line ends; empty when it does not
// exist.
inline std::string read_text_output(const std::filesystem::path& p) {
  return from_host_lines(read_bytes(p), p.filename().string());
}
