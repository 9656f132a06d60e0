// The host layer for POSIX systems.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string_view>

#include "base/path.h"
#include "base/platform.h"

const char kPathSeparator = '/';
const bool kPathHasDrive = false;
const bool kFileNamesIgnoreCase = false;

namespace {

bool is_regular_file(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::optional<std::string> current_dir() {
  std::string buf(256, '\0');
  for (;;) {
    if (::getcwd(buf.data(), buf.size())) {
      buf.resize(std::char_traits<char>::length(buf.c_str()));
      return buf;
    }
    if (errno != ERANGE || buf.size() > (1u << 20)) return std::nullopt;
    buf.resize(buf.size() * 2);
  }
}

}  // namespace

std::vector<std::string> plat_find_files(const std::string& pattern) {
  size_t slash = pattern.rfind('/');
  std::string dir = slash == std::string::npos ? "." : pattern.substr(0, slash + 1);
  std::string last = slash == std::string::npos ? pattern : pattern.substr(slash + 1);
  std::vector<std::string> names;
  // A name without wildcards is looked up, not searched for: a folder of
  // many fonts named one by one would be read once for each.
  if (last.find_first_of("*?") == std::string::npos) {
    if (!last.empty() && is_regular_file(dir + "/" + last)) names.push_back(last);
    return names;
  }
  std::unique_ptr<DIR, int (*)(DIR*)> d(::opendir(dir.c_str()), ::closedir);
  if (!d) return names;
  while (const dirent* e = ::readdir(d.get())) {
    std::string name = e->d_name;
    if (wildcard_match(last, name, false) && is_regular_file(dir + "/" + name))
      names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::optional<std::string> plat_full_path(const std::string& name) {
  if (name.empty()) return std::nullopt;
  std::string path = name;
  std::replace(path.begin(), path.end(), '\\', '/');
  if (path.front() != '/') {
    std::optional<std::string> cwd = current_dir();
    if (!cwd) return std::nullopt;
    path = *cwd + "/" + path;
  }
  const bool trailing = path.back() == '/';
  std::vector<std::string> steps;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    std::string step = path.substr(start, end - start);
    if (step == "..") {
      if (!steps.empty()) steps.pop_back();
    } else if (!step.empty() && step != ".") {
      steps.push_back(step);
    }
    start = end + 1;
  }
  std::string full;
  for (const std::string& step : steps) full += "/" + step;
  if (full.empty() || trailing) full += "/";
  return full;
}

int plat_create_new(const std::string& path, bool) {
  int fd;
  do {
    fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

bool plat_write(int fd, const void* data, size_t n) {
  const auto* p = static_cast<const char*>(data);
  while (n > 0) {
    const ssize_t done = ::write(fd, p, n);
    if (done < 0 && errno == EINTR) continue;
    if (done <= 0) {
      if (done == 0) errno = EIO;
      return false;
    }
    p += done;
    n -= static_cast<size_t>(done);
  }
  return true;
}

bool plat_seek(int fd, uint64_t offset) {
  return ::lseek(fd, static_cast<off_t>(offset), SEEK_SET) >= 0;
}

bool plat_sync(int fd) {
  return ::fdatasync(fd) == 0;
}

bool plat_close(int fd) {
  // After an interrupted close the descriptor is gone (Linux): never again.
  return ::close(fd) == 0 || errno == EINTR;
}

void plat_sync_dir(const std::string& dir) {
  const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

bool plat_remove(const std::string& path) {
  return ::unlink(path.c_str()) == 0;
}

std::vector<std::string> plat_list_dir(const std::string& dir) {
  std::vector<std::string> names;
  std::unique_ptr<DIR, int (*)(DIR*)> d(::opendir(dir.empty() ? "." : dir.c_str()), ::closedir);
  if (!d) return names;
  while (const dirent* e = ::readdir(d.get())) {
    const std::string_view name = e->d_name;
    if (name != "." && name != "..") names.emplace_back(name);
  }
  return names;
}

intptr_t plat_lock(const std::string& path) {
  for (;;) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return -1;
    int locked;
    do {
      locked = ::flock(fd, LOCK_EX);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
      const int err = errno;
      ::close(fd);
      errno = err;
      return -1;
    }
    // The holder before may have removed the file while this process
    // waited: a lock on a file that no longer has the name excludes no one.
    struct stat held, named;
    if (::fstat(fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 &&
        held.st_dev == named.st_dev && held.st_ino == named.st_ino)
      return fd;
    ::close(fd);
  }
}

void plat_unlock(intptr_t lock, const std::string& path) {
  if (lock < 0) return;
  ::unlink(path.c_str());
  ::close(static_cast<int>(lock));
}

bool plat_replace_file(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0;
}

std::string plat_final_path(const std::string& path) {
  std::string current = path;
  // As many steps as the system itself follows before it gives up.
  for (int step = 0; step < 40; ++step) {
    struct stat st;
    if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
    std::string target(static_cast<size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
    const ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
    if (n < 0 || static_cast<size_t>(n) >= target.size()) return current;
    target.resize(static_cast<size_t>(n));
    const size_t slash = current.rfind('/');
    if (target.front() != '/' && slash != std::string::npos)
      target = current.substr(0, slash + 1) + target;
    current = target;
  }
  return current;
}

bool plat_file_exists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

namespace {

bool copy_file_bytes(const std::string& from, const std::string& to) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(std::fopen(from.c_str(), "rb"), std::fclose);
  if (!in) return false;
  std::FILE* out = std::fopen(to.c_str(), "wbx");
  if (!out) return false;
  char buf[64 * 1024];
  bool ok = true;
  for (size_t n; ok && (n = std::fread(buf, 1, sizeof buf, in.get())) > 0;)
    ok = std::fwrite(buf, 1, n, out) == n;
  ok = !std::ferror(in.get()) && ok;
  ok = std::fclose(out) == 0 && ok;
  if (!ok) std::remove(to.c_str());
  return ok;
}

}  // namespace

bool plat_link_file(const std::string& from, const std::string& to) {
  struct stat st;
  if (::stat(from.c_str(), &st) != 0) return false;
  if (!S_ISREG(st.st_mode)) {
    errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    return false;
  }
  if (::link(from.c_str(), to.c_str()) == 0) return true;
  // A file system without hard links gets a copy; other failures (a full
  // disk, say) are failures.
  const bool no_links =
      errno == EPERM || errno == EOPNOTSUPP || errno == EMLINK || errno == EXDEV || errno == ENOSYS;
  return no_links && copy_file_bytes(from, to);
}

void plat_copy_mode(const std::string& target, int fd) {
  struct stat st;
  if (::stat(target.c_str(), &st) == 0) ::fchmod(fd, st.st_mode & 07777);
}

namespace {

// Huge pages are 2 MiB on the hosts that have them; a block aligned to that
// can be made of them from its first byte to its last.
constexpr size_t kHugePage = size_t{2} << 20;

// Sizes in whole pages: the host maps and unmaps nothing smaller.
size_t whole_pages(size_t bytes) {
  const auto page = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
  return (bytes + page - 1) / page * page;
}

}  // namespace

void* plat_alloc_pages(size_t bytes) {
  if (bytes > SIZE_MAX / 2) return nullptr;
  const size_t size = whole_pages(bytes);
  const size_t span = size + kHugePage;
  void* raw = ::mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) return nullptr;
  const auto start = reinterpret_cast<uintptr_t>(raw);
  const uintptr_t aligned = (start + kHugePage - 1) & ~uintptr_t{kHugePage - 1};
  const size_t head = aligned - start;
  const size_t tail = span - head - size;
  if (head) ::munmap(raw, head);
  if (tail) ::munmap(reinterpret_cast<void*>(aligned + size), tail);
#ifdef MADV_HUGEPAGE
  ::madvise(reinterpret_cast<void*>(aligned), size, MADV_HUGEPAGE);
#endif
  return reinterpret_cast<void*>(aligned);
}

void plat_free_pages(void* block, size_t bytes) {
  if (block) ::munmap(block, whole_pages(bytes));
}

unsigned long plat_process_id() {
  return static_cast<unsigned long>(::getpid());
}

bool plat_chdir(const std::string& dir) {
  return ::chdir(dir.c_str()) == 0;
}

void plat_wait_key() {
  if (!::isatty(STDIN_FILENO)) return;
  termios saved;
  if (::tcgetattr(STDIN_FILENO, &saved) != 0) return;
  termios raw = saved;
  raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  ::tcsetattr(STDIN_FILENO, TCSANOW, &raw);
  char key;
  [[maybe_unused]] ssize_t got = ::read(STDIN_FILENO, &key, 1);
  ::tcsetattr(STDIN_FILENO, TCSANOW, &saved);
}

// Interruptions on POSIX hosts: the signals that end a program which a user,
// a build tool or a closed pipe sends.

namespace {

constexpr int kCaught[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};

void (*on_interrupt)() = nullptr;
int holds = 0;

sigset_t caught_set() {
  sigset_t set;
  sigemptyset(&set);
  for (int sig : kCaught) sigaddset(&set, sig);
  return set;
}

// Runs the cleanup, then lets the signal do what it would have done: the
// handler is reset to the default on entry, and the signal raised here is
// delivered as soon as the handler returns.
void handle(int sig) {
  if (on_interrupt) on_interrupt();
  ::raise(sig);
}

}  // namespace

void plat_catch_interrupts(void (*cleanup)()) {
  if (on_interrupt) return;
  on_interrupt = cleanup;
  struct sigaction action = {};
  action.sa_handler = handle;
  action.sa_mask = caught_set();
  action.sa_flags = SA_RESETHAND;
  for (int sig : kCaught) {
    // A signal the program was started ignoring stays ignored (nohup).
    struct sigaction before;
    if (::sigaction(sig, nullptr, &before) == 0 && before.sa_handler == SIG_IGN) continue;
    ::sigaction(sig, &action, nullptr);
  }
  ::signal(SIGXFSZ, SIG_IGN);
}

void plat_hold_interrupts() {
  if (holds++ > 0) return;
  const sigset_t set = caught_set();
  ::sigprocmask(SIG_BLOCK, &set, nullptr);
}

void plat_release_interrupts() {
  if (holds == 0 || --holds > 0) return;
  const sigset_t set = caught_set();
  ::sigprocmask(SIG_UNBLOCK, &set, nullptr);
}
