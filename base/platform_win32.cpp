// The host layer for Windows, on the Win32 API. Names are in the ANSI code
// page throughout, as the C library's fopen takes them.
#define NOMINMAX
#define WIN32_LEAN_AND_MEAN
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>

#include "base/path.h"
#include "base/platform.h"

const char kPathSeparator = '\\';
const bool kPathHasDrive = true;
const bool kFileNamesIgnoreCase = true;

namespace {

constexpr DWORD kKeyPollMs = 100;

// Directories and devices are not fonts or pictures; everything else is.
bool is_regular_file(const WIN32_FIND_DATAA& found) {
  return (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

struct FindCloser {
  void operator()(HANDLE search) const { ::FindClose(search); }
};

enum class KeyState { kPressed, kNone, kUnreadable };

// Whether a key press waits in the console's input; the events before it are
// dropped.
KeyState poll_key(HANDLE in) {
  INPUT_RECORD event;
  DWORD count = 0;
  for (;;) {
    if (!::PeekConsoleInputA(in, &event, 1, &count)) return KeyState::kUnreadable;
    if (count == 0) return KeyState::kNone;
    if (event.EventType == KEY_EVENT && event.Event.KeyEvent.bKeyDown) return KeyState::kPressed;
    // Releases (of the key that started the program, say), mouse and focus events.
    if (!::ReadConsoleInputA(in, &event, 1, &count)) return KeyState::kUnreadable;
  }
}

}  // namespace

std::vector<std::string> plat_find_files(const std::string& pattern) {
  size_t cut = pattern.find_last_of("\\/");
  if (cut == std::string::npos && pattern.size() >= 2 && pattern[1] == ':') cut = 1;
  const std::string dir = cut == std::string::npos ? "" : pattern.substr(0, cut + 1);
  const std::string last = cut == std::string::npos ? pattern : pattern.substr(cut + 1);
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE first = ::FindFirstFileA((dir + "*").c_str(), &found);
  if (first == INVALID_HANDLE_VALUE) return names;
  std::unique_ptr<void, FindCloser> search(first);
  // Every entry is matched here, on its long name, letters in either case as
  // the file system compares them: the system's own patterns would also
  // match 8.3 short names ("*.sym" finds "long name.symbol") and let "?"
  // match nothing at the end of a name.
  do {
    const std::string name = found.cFileName;
    if (is_regular_file(found) && wildcard_match(last, name, true)) names.push_back(name);
  } while (::FindNextFileA(search.get(), &found));
  // The file system's own order differs between NTFS, FAT and network drives.
  std::sort(names.begin(), names.end());
  return names;
}

std::optional<std::string> plat_full_path(const std::string& name) {
  if (name.empty()) return std::nullopt;
  std::string buf(MAX_PATH, '\0');
  for (int tries = 0; tries < 2; ++tries) {
    const DWORD length =
        ::GetFullPathNameA(name.c_str(), static_cast<DWORD>(buf.size()), buf.data(), nullptr);
    if (length == 0) return std::nullopt;
    if (length < buf.size()) {
      buf.resize(length);
      return buf;
    }
    buf.resize(length);  // the size needed, terminator included
  }
  return std::nullopt;
}

// Text mode: the C library's low-level writes turn each line end into CR LF.
int plat_create_new(const std::string& path, bool binary) {
  const int flags = _O_WRONLY | _O_CREAT | _O_EXCL | _O_NOINHERIT | (binary ? _O_BINARY : _O_TEXT);
  return ::_open(path.c_str(), flags, _S_IREAD | _S_IWRITE);
}

bool plat_write(int fd, const void* data, size_t n) {
  const auto* p = static_cast<const char*>(data);
  while (n > 0) {
    const unsigned chunk = n > (1u << 30) ? (1u << 30) : static_cast<unsigned>(n);
    const int done = ::_write(fd, p, chunk);
    if (done <= 0) {
      if (done == 0) errno = ENOSPC;
      return false;
    }
    p += done;
    n -= static_cast<size_t>(done);
  }
  return true;
}

bool plat_seek(int fd, uint64_t offset) {
  return ::_lseeki64(fd, static_cast<__int64>(offset), SEEK_SET) >= 0;
}

bool plat_sync(int fd) {
  return ::_commit(fd) == 0;
}

bool plat_close(int fd) {
  return ::_close(fd) == 0;
}

// Windows puts a folder's entries on the disk with the files themselves.
void plat_sync_dir(const std::string&) {}

bool plat_remove(const std::string& path) {
  return ::DeleteFileA(path.c_str()) != 0;
}

std::vector<std::string> plat_list_dir(const std::string& dir) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  const std::string pattern = (dir.empty() ? std::string(".") : dir) + "\\*";
  HANDLE h = ::FindFirstFileA(pattern.c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = found.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (::FindNextFileA(h, &found));
  ::FindClose(h);
  return names;
}

// The lock is the file opened for this process alone; the system deletes it
// when the last handle goes, however the process ends.
intptr_t plat_lock(const std::string& path) {
  for (;;) {
    HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h != INVALID_HANDLE_VALUE) return reinterpret_cast<intptr_t>(h);
    const DWORD error = ::GetLastError();
    if (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED) {
      errno = error == ERROR_PATH_NOT_FOUND ? ENOENT : EACCES;
      return -1;
    }
    ::Sleep(20);
  }
}

void plat_unlock(intptr_t lock, const std::string&) {
  if (lock != -1) ::CloseHandle(reinterpret_cast<HANDLE>(lock));
}

bool plat_replace_file(const std::string& from, const std::string& to) {
  return ::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

// Links on Windows need rights that build machines rarely grant; a name is
// taken as the file itself.
std::string plat_final_path(const std::string& path) {
  return path;
}

bool plat_file_exists(const std::string& path) {
  return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool plat_link_file(const std::string& from, const std::string& to) {
  const DWORD attributes = ::GetFileAttributesA(from.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    errno = EISDIR;
    return false;
  }
  if (::CreateHardLinkA(to.c_str(), from.c_str(), nullptr)) return true;
  if (::GetLastError() == ERROR_ALREADY_EXISTS) {
    errno = EEXIST;
    return false;
  }
  if (::CopyFileA(from.c_str(), to.c_str(), TRUE)) return true;
  if (::GetLastError() == ERROR_FILE_EXISTS) errno = EEXIST;
  return false;
}

// A new file has the default attributes; a read-only target cannot be
// replaced at all.
void plat_copy_mode(const std::string&, int) {}

// Large pages need a privilege that programs rarely hold; plain committed
// pages, which the system hands out zero-filled.
void* plat_alloc_pages(size_t bytes) {
  return ::VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

void plat_free_pages(void* block, size_t) {
  if (block) ::VirtualFree(block, 0, MEM_RELEASE);
}

unsigned long plat_process_id() {
  return ::GetCurrentProcessId();
}

bool plat_chdir(const std::string& dir) {
  return ::SetCurrentDirectoryA(dir.c_str()) != 0;
}

void plat_wait_key() {
  HANDLE in = ::GetStdHandle(STD_INPUT_HANDLE);
  DWORD mode = 0;
  // Redirected or closed input is no console: a build script never waits.
  if (in == nullptr || in == INVALID_HANDLE_VALUE || !::GetConsoleMode(in, &mode)) return;
  KeyState state;
  while ((state = poll_key(in)) == KeyState::kNone) ::Sleep(kKeyPollMs);
  if (state != KeyState::kPressed) return;
  INPUT_RECORD event;
  DWORD count = 0;
  ::ReadConsoleInputA(in, &event, 1, &count);  // console input never echoes
}

// Interruptions on Windows: Ctrl+C, Ctrl+Break and the console's closing,
// which the system reports on a thread of their own.

namespace {

void (*on_interrupt)() = nullptr;
// Held while a set of files is replaced: the handler waits for it.
CRITICAL_SECTION held;
int holds = 0;

BOOL WINAPI handle(DWORD) {
  ::EnterCriticalSection(&held);
  if (on_interrupt) on_interrupt();
  ::ExitProcess(STATUS_CONTROL_C_EXIT);
}

}  // namespace

void plat_catch_interrupts(void (*cleanup)()) {
  if (on_interrupt) return;
  ::InitializeCriticalSection(&held);
  on_interrupt = cleanup;
  ::SetConsoleCtrlHandler(handle, TRUE);
}

void plat_hold_interrupts() {
  if (!on_interrupt) return;
  if (holds++ == 0) ::EnterCriticalSection(&held);
}

void plat_release_interrupts() {
  if (!on_interrupt || holds == 0) return;
  if (--holds == 0) ::LeaveCriticalSection(&held);
}
