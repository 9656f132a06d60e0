/* Loaded into a program under test with LD_PRELOAD: makes one call of the
 * program's file writing fail, or sends the program a signal just before
 * it, so that tests can stop a run at every step of its writing.
 *
 *   TRALK_FAULT=CALL:N:WHAT   or   TRALK_FAULT=CALL:N+:WHAT
 *
 * CALL is one of create (a new file made with O_EXCL), write, sync, close
 * (of a file so made), rename, link; N counts its calls from 1, and N+ makes
 * that call and every later one fail (a disk that stays full); WHAT is an
 * errno name (ENOSPC, EIO, EACCES, EFBIG, EROFS), and the call fails with
 * it, or a signal name (SIGINT, SIGTERM, SIGHUP, SIGPIPE, SIGKILL), which is
 * raised before the call goes ahead. TRALK_FAULT_LOG names a file to which
 * every counted call is appended as "CALL N", so that a test learns how many
 * steps a run takes. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/types.h>
#include <unistd.h>

enum { kCreate, kWrite, kSync, kClose, kRename, kLink, kCalls };
static const char* const kNames[kCalls] = {"create", "write", "sync", "close", "rename", "link"};

static int counts[kCalls];
static int fault_call = -1, fault_at, fault_onward, fault_errno, fault_signal;
static char made[1024]; /* descriptors of files made with O_EXCL */

static void setup(void) {
  static int done;
  if (done) return;
  done = 1;
  const char* fault = getenv("TRALK_FAULT");
  if (!fault) return;
  char call[16], at[16], what[16];
  if (sscanf(fault, "%15[a-z]:%15[0-9+]:%15s", call, at, what) != 3) return;
  fault_at = atoi(at);
  fault_onward = strchr(at, '+') != NULL;
  for (int i = 0; i < kCalls; ++i)
    if (strcmp(call, kNames[i]) == 0) fault_call = i;
  static const struct { const char* name; int value; } errnos[] = {
      {"ENOSPC", ENOSPC}, {"EIO", EIO}, {"EACCES", EACCES}, {"EFBIG", EFBIG}, {"EROFS", EROFS}};
  static const struct { const char* name; int value; } signals[] = {
      {"SIGINT", SIGINT}, {"SIGTERM", SIGTERM}, {"SIGHUP", SIGHUP}, {"SIGPIPE", SIGPIPE},
      {"SIGKILL", SIGKILL}};
  for (size_t i = 0; i < sizeof errnos / sizeof errnos[0]; ++i)
    if (strcmp(what, errnos[i].name) == 0) fault_errno = errnos[i].value;
  for (size_t i = 0; i < sizeof signals / sizeof signals[0]; ++i)
    if (strcmp(what, signals[i].name) == 0) fault_signal = signals[i].value;
}

static void log_call(int call, int n) {
  const char* path = getenv("TRALK_FAULT_LOG");
  if (!path) return;
  char line[32];
  const int len = snprintf(line, sizeof line, "%s %d\n", kNames[call], n);
  static int (*real_open)(const char*, int, ...);
  if (!real_open) real_open = (int (*)(const char*, int, ...))dlsym(RTLD_NEXT, "open");
  const int fd = real_open(path, O_WRONLY | O_APPEND | O_CREAT, 0644);
  if (fd < 0) return;
  ssize_t (*real_write)(int, const void*, size_t) =
      (ssize_t(*)(int, const void*, size_t))dlsym(RTLD_NEXT, "write");
  real_write(fd, line, (size_t)len);
  int (*real_close)(int) = (int (*)(int))dlsym(RTLD_NEXT, "close");
  real_close(fd);
}

/* Counts a call; nonzero when it is to fail (errno set). */
static int strike(int call) {
  setup();
  const int n = ++counts[call];
  log_call(call, n);
  if (call != fault_call || n < fault_at || (n > fault_at && !fault_onward)) return 0;
  if (fault_signal) {
    raise(fault_signal);
    return 0;
  }
  errno = fault_errno;
  return fault_errno != 0;
}

static int is_made(int fd) {
  return fd >= 0 && fd < (int)sizeof made && made[fd];
}

/* The C library's own function of that name. */
#define REAL(name)                    \
  static __typeof__(&name) real_##name; \
  if (!real_##name) real_##name = (__typeof__(&name))dlsym(RTLD_NEXT, #name)

static int open_common(const char* which, const char* path, int flags, mode_t mode) {
  typedef int (*open_fn)(const char*, int, ...);
  open_fn real = (open_fn)dlsym(RTLD_NEXT, which);
  const int exclusive = (flags & O_CREAT) && (flags & O_EXCL);
  if (exclusive && strike(kCreate)) return -1;
  const int fd = real(path, flags, mode);
  if (exclusive && fd >= 0 && fd < (int)sizeof made) made[fd] = 1;
  return fd;
}

int open(const char* path, int flags, ...) {
  va_list ap;
  va_start(ap, flags);
  const mode_t mode = (flags & O_CREAT) ? (mode_t)va_arg(ap, int) : 0;
  va_end(ap);
  return open_common("open", path, flags, mode);
}

int open64(const char* path, int flags, ...) {
  va_list ap;
  va_start(ap, flags);
  const mode_t mode = (flags & O_CREAT) ? (mode_t)va_arg(ap, int) : 0;
  va_end(ap);
  return open_common("open64", path, flags, mode);
}

ssize_t write(int fd, const void* data, size_t n) {
  REAL(write);
  if (is_made(fd) && strike(kWrite)) return -1;
  return real_write(fd, data, n);
}

int fdatasync(int fd) {
  REAL(fdatasync);
  if (is_made(fd) && strike(kSync)) return -1;
  return real_fdatasync(fd);
}

int close(int fd) {
  REAL(close);
  if (is_made(fd)) {
    made[fd] = 0;
    if (strike(kClose)) {
      real_close(fd);
      errno = fault_errno;
      return -1;
    }
  }
  return real_close(fd);
}

int rename(const char* from, const char* to) {
  REAL(rename);
  if (strike(kRename)) return -1;
  return real_rename(from, to);
}

int link(const char* from, const char* to) {
  REAL(link);
  if (strike(kLink)) return -1;
  return real_link(from, to);
}
