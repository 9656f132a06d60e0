#include "base/console.h"

#include <cstdarg>
#include <cstdio>

#include "base/text.h"

namespace {
bool capturing = false;
std::string captured;
}  // namespace

void con_printf(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  if (!capturing) {
    std::vfprintf(stdout, fmt, args);
    va_end(args);
    return;
  }
  vappendf(captured, fmt, args);
  va_end(args);
}

void con_capture_begin() {
  capturing = true;
  captured.clear();
}

std::string con_capture_end() {
  capturing = false;
  std::string out;
  out.swap(captured);
  return out;
}
