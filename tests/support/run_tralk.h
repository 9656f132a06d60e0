// Runs the built program as a user would, in a given directory, with no
// standard input, and collects what it printed and its exit status.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

struct RunResult {
  std::string out;  // standard output and standard error, in order
  int status = -1;  // exit status as a shell sees it (-1 from the program is 255)
};

inline std::string shell_quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// args are passed through the shell as written (quote them where needed).
inline RunResult run_tralk(const std::filesystem::path& cwd, const std::string& args) {
  std::string cmd = "cd " + shell_quote(cwd.string()) + " && " + shell_quote(TRALK_EXE) + " " +
                    args + " </dev/null 2>&1";
  RunResult r;
  std::FILE* p = ::popen(cmd.c_str(), "r");
  if (!p) return r;
  char buf[4096];
  for (size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) r.out.append(buf, n);
  int st = ::pclose(p);
  r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  return r;
}

// Replaces every occurrence of from in s by to.
inline std::string replace_all(std::string s, const std::string& from, const std::string& to) {
  for (size_t pos = 0; (pos = s.find(from, pos)) != std::string::npos; pos += to.size()) {
    s.replace(pos, from.size(), to);
  }
  return s;
}
