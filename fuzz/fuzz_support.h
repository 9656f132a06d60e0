// Shared pieces of the libFuzzer harnesses: a private scratch directory for
// what the importer and the whole program write (and for the font files
// FreeType is handed), a quiet console, and a loud stop for anything a
// harness finds wrong. The readers' harnesses hand them the bytes.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "base/console.h"

namespace fuzz {

// Stops the run so that libFuzzer keeps the input as a crash.
[[noreturn]] inline void fail(const char* what) {
  std::fprintf(stderr, "\nFUZZ CHECK FAILED: %s\n", what);
  std::abort();
}

inline void check(bool ok, const char* what) {
  if (!ok) fail(what);
}

// One directory per fuzzing process, made on first use and removed when the
// process ends normally. Files are written and cleared per input.
class Scratch {
 public:
  static Scratch& get() {
    static Scratch scratch;
    return scratch;
  }

  const std::filesystem::path& dir() const { return dir_; }

  std::string write(std::string_view name, const uint8_t* data, size_t size) const {
    const std::filesystem::path p = dir_ / name;
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    out.close();
    if (!out) fail("cannot write an input file into the scratch directory");
    return p.string();
  }
  std::string write(std::string_view name, std::string_view text) const {
    return write(name, reinterpret_cast<const uint8_t*>(text.data()), text.size());
  }

  // Removes everything inside the directory, leaving it in place.
  void clear() const {
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(dir_, ec))
      std::filesystem::remove_all(e.path(), ec);
  }

  ~Scratch() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;

 private:
  Scratch() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "tralk-fuzz-XXXXXX").string();
    if (!::mkdtemp(tmpl.data())) fail("cannot make the scratch directory");
    dir_ = tmpl;
  }
  std::filesystem::path dir_;
};

// Collects console output for one input instead of printing it.
class QuietConsole {
 public:
  QuietConsole() { con_capture_begin(); }
  ~QuietConsole() {
    if (!taken_) con_capture_end();
  }
  std::string take() {
    taken_ = true;
    return con_capture_end();
  }
  QuietConsole(const QuietConsole&) = delete;
  QuietConsole& operator=(const QuietConsole&) = delete;

 private:
  bool taken_ = false;
};

// The program waits for a key only when standard input is a terminal; a
// harness started from one must never wait.
inline void detach_stdin() {
  if (::isatty(STDIN_FILENO)) {
    const int fd = ::open("/dev/null", O_RDONLY);
    if (fd >= 0) {
      ::dup2(fd, STDIN_FILENO);
      ::close(fd);
    }
  }
}

}  // namespace fuzz
