#include "cli/utf8.h"

namespace tralk::cli {

std::optional<std::vector<char32_t>> utf8_decode(std::string_view text) {
  std::vector<char32_t> out;
  for (size_t i = 0; i < text.size();) {
    const std::optional<char32_t> c = utf8_next(text, i);
    if (!c) return std::nullopt;
    out.push_back(*c);
  }
  return out;
}

bool is_utf8(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    // ASCII, the common case, a byte at a time.
    if (static_cast<unsigned char>(text[i]) < 0x80) {
      ++i;
    } else if (!utf8_next(text, i)) {
      return false;
    }
  }
  return true;
}

std::string utf8_encode(char32_t c) {
  std::string out;
  auto tail = [&](int shift) { out += static_cast<char>(0x80 | ((c >> shift) & 0x3F)); };
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    tail(0);
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    tail(6);
    tail(0);
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    tail(12);
    tail(6);
    tail(0);
  }
  return out;
}

}  // namespace tralk::cli
