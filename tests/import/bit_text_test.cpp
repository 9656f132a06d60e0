// The word-at-a-time pieces of the .sym writer, against plain per-bit and
// printf reference versions: ink bits put onto a blank at every pair of
// offsets and lengths around a word, and the ",0xAB" text of byte runs
// around the sixteen made at once.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "import/fonts/bit_rows.h"
#include "import/fonts/byte_text.h"

namespace {

using tralk::importer::kBitRowSlack;
using tralk::importer::kByteTextSlack;

std::vector<uint8_t> noise(size_t n, uint32_t seed) {
  std::vector<uint8_t> out(n);
  for (uint8_t& b : out) b = static_cast<uint8_t>((seed = seed * 1103515245u + 12345u) >> 16);
  return out;
}

bool bit(const std::vector<uint8_t>& v, uint64_t i) {
  return v[i / 8] >> (7 - i % 8) & 1;
}

TEST(BitRows, PutBitsXorsTheBitsOntoTheBlankAndKeepsEveryOtherByte) {
  constexpr size_t kBytes = 40;
  for (const uint64_t count : {1, 7, 8, 9, 55, 56, 57, 63, 64, 65, 112, 130})
    for (uint64_t dst_bit = 0; dst_bit < 16; ++dst_bit)
      for (uint64_t src_bit = 0; src_bit < 16; ++src_bit) {
        const std::vector<uint8_t> src = noise(kBytes, 7), blank = noise(kBytes, 11);
        std::vector<uint8_t> dst = blank, expected = blank;
        for (uint64_t i = 0; i < count; ++i)
          if (bit(src, src_bit + i))
            expected[(dst_bit + i) / 8] ^= static_cast<uint8_t>(0x80 >> (dst_bit + i) % 8);
        tralk::importer::put_bits(dst.data(), blank.data(), dst_bit, src.data(), src_bit, count);
        ASSERT_EQ(dst, expected) << count << " bits from " << src_bit << " to " << dst_bit;
      }
  // The bytes the longest run at the last offsets reaches, and the words after it.
  static_assert(kBytes >= (15 + 130 + 7) / 8 + kBitRowSlack);
}

TEST(ByteText, EveryByteAsCommaAndUpperCaseHex) {
  const std::vector<uint8_t> bytes = noise(70, 3);
  for (size_t n = 0; n <= bytes.size(); ++n) {
    std::string expected;
    char one[8];
    for (size_t i = 0; i < n; ++i) {
      std::snprintf(one, sizeof one, ",0x%02X", bytes[i]);
      expected += one;
    }
    std::vector<char> text(5 * n + kByteTextSlack, '#');
    const char* end = tralk::importer::put_byte_texts(text.data(), bytes.data(), n);
    ASSERT_EQ(std::string(text.data(), static_cast<size_t>(end - text.data())), expected) << n;
  }
}

}  // namespace
