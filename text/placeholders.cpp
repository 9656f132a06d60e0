#include "text/placeholders.h"

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

// The length of the conversion that s (just after a "%") starts, 0 when it
// starts none.
size_t printf_conversion_length(std::string_view s) {
  size_t i = 0;
  if (!s.empty() && s[0] == '(') {  // Python's %(name)s
    i = s.find(')');
    if (i == std::string_view::npos) return 0;
    ++i;
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
    const size_t close = s.find('>', i);
    return close == std::string_view::npos ? 0 : close + 1;
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

// The end of the "$t(" nesting at s[start], just past its ")", the
// parentheses of its options counted; npos when it is not closed.
size_t nesting_end(std::string_view s, size_t start) {
  int depth = 0;
  for (size_t i = start + 2; i < s.size(); ++i) {
    if (s[i] == '(') ++depth;
    if (s[i] == ')' && --depth == 0) return i + 1;
  }
  return std::string_view::npos;
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
  for (size_t i = 0; i < message.size(); ++i) {
    size_t end = std::string_view::npos;
    if (message.substr(i).starts_with("{{")) {
      end = message.find("}}", i + 2);
      if (end != std::string_view::npos) end += 2;
    } else if (message.substr(i).starts_with("$t(")) {
      end = nesting_end(message, i);
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
