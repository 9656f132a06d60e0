#include "base/path.h"

#include "base/platform.h"
#include "base/text.h"

namespace {

constexpr size_t kPartMax = 255;
constexpr size_t kIdentBaseMax = 254;

struct PathParts {
  std::string drive;  // "C:" where the host has drives
  std::string dir;    // after the drive, up to and including the last separator
  std::string base;
  std::string ext;  // from the last dot, dot included
};

bool is_separator(char c) {
  return c == '/' || c == '\\';
}
bool is_letter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool is_digit(char c) {
  return c >= '0' && c <= '9';
}
bool is_ident_char(char c) {
  return is_letter(c) || is_digit(c) || c == '_';
}

std::string cut(std::string_view s, size_t max) {
  return std::string(s.substr(0, max));
}

size_t drive_length(std::string_view path) {
  return kPathHasDrive && path.size() >= 2 && is_letter(path[0]) && path[1] == ':' ? 2 : 0;
}

PathParts split(std::string_view path) {
  const size_t dir_start = drive_length(path);
  size_t name_start = dir_start;
  for (size_t i = dir_start; i < path.size(); ++i) {
    if (is_separator(path[i])) name_start = i + 1;
  }
  std::string_view name = path.substr(name_start);
  size_t dot = name.rfind('.');
  PathParts parts;
  parts.drive = std::string(path.substr(0, dir_start));
  parts.dir = cut(path.substr(dir_start, name_start - dir_start), kPartMax);
  if (dot == std::string_view::npos) {
    parts.base = cut(name, kPartMax);
  } else {
    parts.base = cut(name.substr(0, dot), kPartMax);
    parts.ext = cut(name.substr(dot), kPartMax);
  }
  return parts;
}

std::string join(const PathParts& parts) {
  std::string out = parts.drive + parts.dir;
  if (!parts.dir.empty() && !is_separator(parts.dir.back())) out += kPathSeparator;
  out += parts.base;
  if (!parts.ext.empty() && parts.ext.front() != '.') out += '.';
  out += parts.ext;
  return out;
}

}  // namespace

std::optional<std::string> path_full(std::string_view name) {
  std::optional<std::string> full = plat_full_path(std::string(name));
  if (!full || full->size() > kPathFullMax) return std::nullopt;
  return full;
}

std::optional<std::string> path_setname(std::string_view path, std::string_view name) {
  std::optional<std::string> full = path_full(path);
  if (!full) return std::nullopt;
  PathParts parts = split(*full);
  PathParts named = split(name);
  parts.base = named.base;
  parts.ext = named.ext;
  return join(parts);
}

std::optional<std::string> path_setext(std::string_view path, std::string_view name) {
  std::optional<std::string> full = path_full(path);
  if (!full) return std::nullopt;
  PathParts parts = split(*full);
  parts.ext = split(name).ext;
  return join(parts);
}

bool path_is_relative(std::string_view name) {
  return drive_length(name) == 0 && (name.empty() || !is_separator(name[0]));
}

std::string path_in_dir(std::string_view dir, std::string_view name) {
  if (!path_is_relative(name)) return std::string(name);
  std::string out(dir);
  if (!out.empty() && !is_separator(out.back())) out += kPathSeparator;
  return out.append(name);
}

std::string path_base(std::string_view path) {
  return split(path).base;
}

std::string path_ext(std::string_view path) {
  return split(path).ext;
}

std::string path_ident(std::string_view path) {
  std::string base = cut(path_base(path), kIdentBaseMax);
  std::string ident;
  if (base.empty() || !(is_letter(base[0]) || base[0] == '_')) ident = "_";
  for (char c : base) ident += is_ident_char(c) ? c : '_';
  return ident;
}

std::string path_macro_name(std::string_view path) {
  return ascii_upper(path_ident(path));
}

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
