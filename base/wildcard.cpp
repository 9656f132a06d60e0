#include "base/wildcard.h"

#include <string>

#include "base/text.h"

bool wildcard_match(std::string_view pattern, std::string_view name, bool ignore_case) {
  auto same = [ignore_case](char a, char b) {
    return ignore_case ? ascii_lower(a) == ascii_lower(b) : a == b;
  };
  size_t p = 0, n = 0;
  // Where the last "*" stood, and where in name its match would grow next.
  size_t star = std::string::npos, resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || same(pattern[p], name[n]))) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = n;
    } else if (star != std::string::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool file_name_equal(std::string_view a, std::string_view b, bool ignore_case) {
  return ignore_case ? ascii_iequal(a, b) : a == b;
}
