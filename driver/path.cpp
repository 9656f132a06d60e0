#include "driver/path.h"

#include "base/platform.h"
#include "base/text.h"

namespace {

constexpr size_t kPartMax = 255;
constexpr size_t kIdentBaseMax = 254;
constexpr size_t kFontNameMax = 511;
constexpr size_t kFontNameSourceMax = 510;

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

std::string make_fontname(const std::optional<std::string>& tmpl,
                          const std::optional<std::string>& path) {
  if (!tmpl) return path_ident(path.value_or(""));
  if (!path) return *tmpl;
  const std::string& t = *tmpl;
  const bool wild = t.find_first_of("*?") != std::string::npos;
  const std::string source = wild ? path_ident(*path) : std::string();
  size_t pos = 0;  // position in source
  std::string name;
  for (size_t i = 0; i < t.size();) {
    if (name.size() >= kFontNameMax) break;
    const char c = t[i];
    const bool exhausted = pos >= source.size();
    if (is_ident_char(c)) {
      if (is_digit(c) && name.empty()) name += '_';
      name += c;
      if (!exhausted) ++pos;
      ++i;
    } else if (c == '*') {
      if (!exhausted) {
        for (size_t k = 0; k < source.size() && name.size() < kFontNameSourceMax; ++k) {
          name += source[k];
        }
        pos = source.size();
      }
      while (i < t.size() && (t[i] == '*' || t[i] == '?')) ++i;
    } else if (c == '?') {
      if (!exhausted) name += source[pos++];
      ++i;
    } else {
      name += '_';
      ++i;
    }
  }
  if (name.empty()) name = "_";
  return name;
}
