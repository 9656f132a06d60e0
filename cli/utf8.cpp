#include "cli/utf8.h"

namespace tralk::cli {

namespace {

constexpr char32_t kMaxCode = 0x10FFFF;

bool is_continuation(unsigned char b) {
  return (b & 0xC0) == 0x80;
}

// Length of the sequence that starts with lead and the bits lead holds of
// the character; 0 for a byte that cannot start one.
int sequence_length(unsigned char lead, char32_t& bits) {
  if (lead < 0x80) {
    bits = lead;
    return 1;
  }
  if ((lead & 0xE0) == 0xC0) {
    bits = lead & 0x1Fu;
    return 2;
  }
  if ((lead & 0xF0) == 0xE0) {
    bits = lead & 0x0Fu;
    return 3;
  }
  if ((lead & 0xF8) == 0xF0) {
    bits = lead & 0x07u;
    return 4;
  }
  return 0;
}

// The smallest character that needs a sequence of n bytes: anything below
// is an overlong form.
char32_t shortest(int n) {
  switch (n) {
    case 2:
      return 0x80;
    case 3:
      return 0x800;
    case 4:
      return 0x10000;
    default:
      return 0;
  }
}

}  // namespace

std::optional<std::vector<char32_t>> utf8_decode(std::string_view text) {
  std::vector<char32_t> out;
  for (size_t i = 0; i < text.size();) {
    char32_t c = 0;
    const int n = sequence_length(static_cast<unsigned char>(text[i]), c);
    if (n == 0 || text.size() - i < static_cast<size_t>(n)) return std::nullopt;
    for (int k = 1; k < n; ++k) {
      const auto b = static_cast<unsigned char>(text[i + k]);
      if (!is_continuation(b)) return std::nullopt;
      c = (c << 6) | (b & 0x3Fu);
    }
    if (c < shortest(n) || c > kMaxCode || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
    out.push_back(c);
    i += static_cast<size_t>(n);
  }
  return out;
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
