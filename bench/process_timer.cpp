#include "bench/process_timer.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace bench {

namespace {

[[noreturn]] void die(const std::string& msg) {
  std::fprintf(stderr, "benchmark: %s\n", msg.c_str());
  std::exit(1);
}

}  // namespace

Sample run_process(const std::vector<std::string>& args, const std::filesystem::path& dir,
                   const std::filesystem::path& out) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = ::fork();
  if (pid < 0) die("fork failed");
  if (pid == 0) {
    const int in = ::open("/dev/null", O_RDONLY);
    const int fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || fd < 0 || ::chdir(dir.c_str()) != 0) ::_exit(127);
    ::dup2(in, 0);
    ::dup2(fd, 1);
    ::dup2(fd, 2);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  int status = 0;
  rusage usage{};
  if (::wait4(pid, &status, 0, &usage) != pid) die("wait4 failed");
  const auto end = std::chrono::steady_clock::now();
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    die(args[0] + " failed in " + dir.string() + "; see " + out.string());
  const auto secs = [](const timeval& tv) { return double(tv.tv_sec) + tv.tv_usec / 1e6; };
  return {std::chrono::duration<double>(end - start).count(),
          secs(usage.ru_utime) + secs(usage.ru_stime), usage.ru_maxrss * 1024.0};
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

}  // namespace bench
