// Interruptions on POSIX hosts: the signals that end a program which a user,
// a build tool or a closed pipe sends.
#include <signal.h>

#include "base/platform.h"

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
