// Interruptions on Windows: Ctrl+C, Ctrl+Break and the console's closing,
// which the system reports on a thread of their own.
#define NOMINMAX
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "base/platform.h"

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
