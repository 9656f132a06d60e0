#include "base/byte_size.h"

#include "base/text.h"

std::optional<uint64_t> parse_byte_size(std::string_view text) {
  uint64_t unit = 1;
  if (text.ends_with("KiB")) unit = uint64_t{1} << 10;
  if (text.ends_with("MiB")) unit = uint64_t{1} << 20;
  if (unit != 1) text.remove_suffix(3);
  unsigned base = 10;
  size_t max_digits = 12;
  if (text.starts_with("0x") || text.starts_with("0X")) {
    text.remove_prefix(2);
    base = 16;
    max_digits = 10;
  }
  // Digits limited so that no value, times its unit, passes 64 bits.
  if (text.empty() || text.size() > max_digits) return std::nullopt;
  uint64_t n = 0;
  for (char c : text) {
    const unsigned digit = digit_value(c);
    if (digit >= base) return std::nullopt;
    n = n * base + digit;
  }
  return n * unit;
}
