#include "base/console.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

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
  va_list copy;
  va_copy(copy, args);
  int len = std::vsnprintf(nullptr, 0, fmt, copy);
  va_end(copy);
  if (len > 0) {
    std::vector<char> buf(static_cast<size_t>(len) + 1);
    std::vsnprintf(buf.data(), buf.size(), fmt, args);
    captured.append(buf.data(), static_cast<size_t>(len));
  }
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
