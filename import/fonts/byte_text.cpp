#include "import/fonts/byte_text.h"

#include <array>
#include <cstring>

#include "base/text.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define TRALK_BYTE_TEXT_SSSE3 1
#endif

namespace tralk::importer {

namespace {

// ",0xAB" for every byte, padded to 8 characters so that each is stored
// whole.
using ByteTexts = std::array<std::array<char, 8>, 256>;

constexpr ByteTexts make_byte_texts() {
  ByteTexts t{};
  for (unsigned b = 0; b < 256; ++b)
    t[b] = {',', '0', 'x', hex_digit_upper(b >> 4u), hex_digit_upper(b), 0, 0, 0};
  return t;
}

constexpr ByteTexts kByteTexts = make_byte_texts();

char* put_with_table(char* p, const uint8_t* b, size_t n) {
  for (; n >= 4; n -= 4, b += 4, p += 20) {
    std::memcpy(p, kByteTexts[b[0]].data(), 8);
    std::memcpy(p + 5, kByteTexts[b[1]].data(), 8);
    std::memcpy(p + 10, kByteTexts[b[2]].data(), 8);
    std::memcpy(p + 15, kByteTexts[b[3]].data(), 8);
  }
  for (; n > 0; --n, ++b, p += 5) std::memcpy(p, kByteTexts[*b].data(), 8);
  return p;
}

#ifdef TRALK_BYTE_TEXT_SSSE3

// The text of 16 bytes is 80 characters, five blocks of 16. Character j is
// part j % 5 of byte j / 5's ",0xHL". Each block is its constant characters
// (",0x") ORed with digits shuffled out of two vectors: the digits of bytes
// 0-7 as H0 L0 H1 L1 ..., and those of bytes 8-15 the same way.
struct TextBlocks {
  alignas(16) std::array<std::array<char, 16>, 5> constant{};
  alignas(16) std::array<std::array<uint8_t, 16>, 5> from_low{};   // 0x80: none
  alignas(16) std::array<std::array<uint8_t, 16>, 5> from_high{};  // 0x80: none
};

constexpr TextBlocks make_text_blocks() {
  TextBlocks t{};
  for (unsigned j = 0; j < 80; ++j) {
    const unsigned block = j / 16, lane = j % 16, byte = j / 5, part = j % 5;
    t.constant[block][lane] = part == 0 ? ',' : part == 1 ? '0' : part == 2 ? 'x' : '\0';
    t.from_low[block][lane] = 0x80;
    t.from_high[block][lane] = 0x80;
    if (part < 3) continue;
    const auto digit = static_cast<uint8_t>(2 * (byte % 8) + (part - 3));
    (byte < 8 ? t.from_low : t.from_high)[block][lane] = digit;
  }
  return t;
}

constexpr TextBlocks kTextBlocks = make_text_blocks();

__m128i load(const void* p) {
  return _mm_load_si128(static_cast<const __m128i*>(p));
}

__attribute__((target("ssse3"))) char* put_with_shuffles(char* p, const uint8_t* b, size_t n) {
  const __m128i digits =
      _mm_setr_epi8('0', '1', '2', '3', '4', '5', '6', '7', '8', '9', 'A', 'B', 'C', 'D', 'E', 'F');
  const __m128i nibble = _mm_set1_epi8(0x0F);
  for (; n >= 16; n -= 16, b += 16, p += 80) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b));
    const __m128i high = _mm_shuffle_epi8(digits, _mm_and_si128(_mm_srli_epi16(v, 4), nibble));
    const __m128i low = _mm_shuffle_epi8(digits, _mm_and_si128(v, nibble));
    const __m128i first = _mm_unpacklo_epi8(high, low), last = _mm_unpackhi_epi8(high, low);
    for (unsigned k = 0; k < 5; ++k) {
      __m128i block = load(kTextBlocks.constant[k].data());
      if (k <= 2)
        block = _mm_or_si128(block, _mm_shuffle_epi8(first, load(kTextBlocks.from_low[k].data())));
      if (k >= 2)
        block = _mm_or_si128(block, _mm_shuffle_epi8(last, load(kTextBlocks.from_high[k].data())));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(p + 16 * k), block);
    }
  }
  return put_with_table(p, b, n);
}

bool has_shuffles() {
  static const bool has = __builtin_cpu_supports("ssse3");
  return has;
}

#endif

}  // namespace

char* put_byte_texts(char* p, const uint8_t* bytes, size_t n) {
#ifdef TRALK_BYTE_TEXT_SSSE3
  if (n >= 16 && has_shuffles()) return put_with_shuffles(p, bytes, n);
#endif
  return put_with_table(p, bytes, n);
}

}  // namespace tralk::importer
