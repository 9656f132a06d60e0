#include "base/text.h"

#include <algorithm>
#include <cstdio>

void vappendf(std::string& out, const char* fmt, va_list args) {
  va_list copy;
  va_copy(copy, args);
  const int len = std::vsnprintf(nullptr, 0, fmt, copy);
  va_end(copy);
  if (len <= 0) return;
  const size_t old = out.size();
  out.resize(old + static_cast<size_t>(len) + 1);
  std::vsnprintf(&out[old], static_cast<size_t>(len) + 1, fmt, args);
  out.resize(old + static_cast<size_t>(len));
}

void appendf(std::string& out, const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  vappendf(out, fmt, args);
  va_end(args);
}

std::string strf(const char* fmt, ...) {
  std::string out;
  va_list args;
  va_start(args, fmt);
  vappendf(out, fmt, args);
  va_end(args);
  return out;
}

std::string ascii_lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = ascii_lower(c);
  return out;
}

std::string ascii_upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = ascii_upper(c);
  return out;
}

bool ascii_iequal(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (ascii_lower(a[i]) != ascii_lower(b[i])) return false;
  return true;
}

std::string hex_upper(unsigned long value, int width) {
  char text[2 * sizeof value];
  char* const end = text + sizeof text;
  char* p = end;
  do {
    *--p = hex_digit_upper(static_cast<unsigned>(value));
    value >>= 4;
  } while (value != 0);
  const size_t digits = static_cast<size_t>(end - p);
  std::string out;
  if (width > 0 && static_cast<size_t>(width) > digits)
    out.append(static_cast<size_t>(width) - digits, '0');
  out.append(p, digits);
  return out;
}

std::string in_quotes(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  out += '"';
  out += text;
  out += '"';
  return out;
}

std::string_view next_line(std::string_view& text) {
  const size_t eol = text.find('\n');
  std::string_view line = text.substr(0, eol);
  text = eol == std::string_view::npos ? std::string_view() : text.substr(eol + 1);
  if (line.ends_with('\r')) line.remove_suffix(1);
  return line;
}

std::string_view next_word(std::string_view line, size_t& at) {
  while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
  const size_t start = at;
  while (at < line.size() && line[at] != ' ' && line[at] != '\t') ++at;
  return line.substr(start, at - start);
}

uint32_t line_at(std::string_view text, size_t offset) {
  uint32_t line = 1;
  const size_t end = std::min(offset, text.size());
  for (size_t i = 0; i < end; ++i) {
    if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n')))
      ++line;
  }
  return line;
}
