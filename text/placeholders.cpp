#include "text/placeholders.h"

#include <vector>

namespace tralk::text {

namespace {

bool is_digit(char c) {
  return c >= '0' && c <= '9';
}

// The number of digits at s[i], i moved past them.
size_t skip_digits(std::string_view s, size_t& i) {
  const size_t start = i;
  while (i < s.size() && is_digit(s[i])) ++i;
  return i - start;
}

// An argument number "N$" at s[i], if there is one.
void skip_argument_number(std::string_view s, size_t& i) {
  size_t j = i;
  if (skip_digits(s, j) > 0 && j < s.size() && s[j] == '$') i = j + 1;
}

// A width or precision: digits, or "*" with an optional argument number.
void skip_count(std::string_view s, size_t& i) {
  if (i < s.size() && s[i] == '*') {
    ++i;
    skip_argument_number(s, i);
  } else {
    skip_digits(s, i);
  }
}

bool is_name_char(char c) {
  return is_digit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

// The end of the name at s[i] and the closing character after it (i moved
// past both); false when close does not follow. Names stop at any other
// character, so that no "%" looks further than the next one.
bool skip_name(std::string_view s, size_t& i, char close) {
  size_t j = i;
  while (j < s.size() && is_name_char(s[j])) ++j;
  if (j == s.size() || s[j] != close) return false;
  i = j + 1;
  return true;
}

// The length of the conversion that s (just after a "%") starts, 0 when it
// starts none.
size_t printf_conversion_length(std::string_view s) {
  size_t i = 0;
  if (!s.empty() && s[0] == '(') {  // Python's %(name)s
    i = 1;
    if (!skip_name(s, i, ')')) return 0;
  } else {
    skip_argument_number(s, i);
  }
  // The flags; not the blank, which text has after a percent sign far more
  // often than a format has it as a flag.
  while (i < s.size() && std::string_view("-+#0'I").find(s[i]) != std::string_view::npos) ++i;
  skip_count(s, i);
  if (i < s.size() && s[i] == '.') {
    ++i;
    skip_count(s, i);
  }
  for (const std::string_view length : {"hh", "h", "ll", "l", "L", "q", "j", "z", "Z", "t"}) {
    if (s.substr(i).starts_with(length)) {
      i += length.size();
      break;
    }
  }
  if (i >= s.size()) return 0;
  // gettext's <inttypes.h> macros: %<PRIu64>.
  if (s.substr(i).starts_with("<PRI")) {
    i += 4;
    return skip_name(s, i, '>') ? i : 0;
  }
  return std::string_view("diouxXeEfFgGaAcspnCSm").find(s[i]) != std::string_view::npos ? i + 1 : 0;
}

// The length of the Qt argument that s (just after a "%") starts, 0 when it
// starts none.
size_t qt_argument_length(std::string_view s) {
  size_t i = !s.empty() && s[0] == 'L' ? 1 : 0;
  if (i < s.size() && s[i] == 'n') return i + 1;
  if (i >= s.size() || s[i] < '1' || s[i] > '9') return 0;
  return i + 1 < s.size() && is_digit(s[i + 1]) ? i + 2 : i + 1;
}

// For each "(" of s, the position of the ")" that closes it (the
// parentheses between them paired), npos where none does: in one pass, so
// that no "$t(" looks to the end of the message again.
std::vector<size_t> closing_parentheses(std::string_view s) {
  std::vector<size_t> close(s.size(), std::string_view::npos);
  std::vector<size_t> open;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '(') open.push_back(i);
    if (s[i] == ')' && !open.empty()) {
      close[open.back()] = i;
      open.pop_back();
    }
  }
  return close;
}

}  // namespace

std::string without_printf_conversions(std::string_view message) {
  if (message.find('%') == std::string_view::npos) return std::string(message);
  std::string out;
  out.reserve(message.size());
  for (size_t i = 0; i < message.size(); ++i) {
    if (message[i] != '%') {
      out += message[i];
    } else if (i + 1 < message.size() && message[i + 1] == '%') {
      out += '%';
      ++i;
    } else {
      const size_t length = printf_conversion_length(message.substr(i + 1));
      if (length == 0) out += '%';
      i += length;
    }
  }
  return out;
}

std::string without_qt_arguments(std::string_view message) {
  if (message.find('%') == std::string_view::npos) return std::string(message);
  std::string out;
  out.reserve(message.size());
  for (size_t i = 0; i < message.size(); ++i) {
    const size_t length = message[i] == '%' ? qt_argument_length(message.substr(i + 1)) : 0;
    if (length == 0) out += message[i];
    i += length;
  }
  return out;
}

std::string without_i18next_placeholders(std::string_view message) {
  if (message.find("{{") == std::string_view::npos && message.find("$t(") == std::string_view::npos)
    return std::string(message);
  std::string out;
  out.reserve(message.size());
  const std::vector<size_t> close = closing_parentheses(message);
  bool braces_close = true;  // a "}}" may follow; once none does, none ever will
  for (size_t i = 0; i < message.size(); ++i) {
    size_t end = std::string_view::npos;
    if (braces_close && message.substr(i).starts_with("{{")) {
      end = message.find("}}", i + 2);
      braces_close = end != std::string_view::npos;
      if (braces_close) end += 2;
    } else if (message.substr(i).starts_with("$t(") && close[i + 2] != std::string_view::npos) {
      end = close[i + 2] + 1;
    }
    if (end == std::string_view::npos) {
      out += message[i];
    } else {
      i = end - 1;
    }
  }
  return out;
}

}  // namespace tralk::text
