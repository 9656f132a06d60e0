// Small text helpers that every part uses: printf-style formatting into a
// string, ASCII letter case and digits, which never depend on the host's
// locale, and names quoted as messages show them.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <string>
#include <string_view>

// printf-style formatting, appended to out.
void vappendf(std::string& out, const char* fmt, va_list args);
[[gnu::format(printf, 2, 3)]] void appendf(std::string& out, const char* fmt, ...);
// printf-style formatting into a new string.
[[gnu::format(printf, 1, 2)]] std::string strf(const char* fmt, ...);

constexpr char ascii_lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
constexpr char ascii_upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
std::string ascii_lower(std::string_view s);
std::string ascii_upper(std::string_view s);
bool ascii_iequal(std::string_view a, std::string_view b);

// The value of c as a digit of bases up to 36 ("0"-"9", then "a"/"A" = 10 to
// "z"/"Z" = 35); 36 for any other character, which no base takes.
constexpr unsigned digit_value(int c) {
  if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
  if (c >= 'a' && c <= 'z') return static_cast<unsigned>(c - 'a' + 10);
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned>(c - 'A' + 10);
  return 36;
}

// The upper-case hexadecimal digit of the low four bits of v.
constexpr char hex_digit_upper(unsigned v) {
  return "0123456789ABCDEF"[v & 0xF];
}

// The upper-case hexadecimal digits of value, at least width of them (zeros
// in front), as printf's "%0*lX" writes them.
std::string hex_upper(unsigned long value, int width);

// The line, counted from 1, on which the byte at offset of text stands. A
// line ends at LF, CR or CR LF, as editors count lines.
uint32_t line_at(std::string_view text, size_t offset);

// A name or value as messages show it, in double quotes. (Not "quoted":
// std::quoted, which a std::string argument brings in through its
// namespace, would be taken instead.)
std::string in_quotes(std::string_view text);

// The line at the front of text, without its LF (or CR LF, or a CR that
// ends the text); text is left just after it.
std::string_view next_line(std::string_view& text);

// The next word of line from at, words being separated by blanks and tabs;
// empty at the end. at is left just past the word.
std::string_view next_word(std::string_view line, size_t& at);
