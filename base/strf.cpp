#include "base/strf.h"

#include <cstdarg>
#include <cstdio>

std::string strf(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  va_list copy;
  va_copy(copy, args);
  const int len = std::vsnprintf(nullptr, 0, fmt, copy);
  va_end(copy);
  std::string out;
  if (len > 0) {
    out.resize(static_cast<size_t>(len) + 1);
    std::vsnprintf(out.data(), out.size(), fmt, args);
    out.resize(static_cast<size_t>(len));
  }
  va_end(args);
  return out;
}
