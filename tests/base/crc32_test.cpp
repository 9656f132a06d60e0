// The CRC-32 against zlib's crc32(), which it must equal byte for byte: the
// check value of the parameters, every length around the eight-byte steps,
// continuations at every split, and a chip-sized buffer.
#include "base/crc32.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <vector>

namespace {

std::vector<uint8_t> random_bytes(size_t n, unsigned seed) {
  std::mt19937 gen(seed);
  std::vector<uint8_t> v(n);
  for (uint8_t& b : v) b = static_cast<uint8_t>(gen());
  return v;
}

uint32_t zlib_crc(const uint8_t* p, size_t n) {
  return static_cast<uint32_t>(crc32(0, p, static_cast<uInt>(n)));
}

TEST(Crc32, CheckValueAndEmpty) {
  const char check[] = "123456789";
  EXPECT_EQ(crc32_of(reinterpret_cast<const uint8_t*>(check), 9), 0xCBF43926u);
  EXPECT_EQ(crc32_of(nullptr, 0), 0u);
  const uint8_t erased[4] = {0xFF, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(crc32_of(erased, 4), 0xFFFFFFFFu);
}

TEST(Crc32, EqualsZlibForEveryLengthOffsetAndSplit) {
  const std::vector<uint8_t> bytes = random_bytes(300, 1);
  for (size_t start = 0; start < 9; ++start)
    for (size_t n = 0; start + n <= 80; ++n)
      EXPECT_EQ(crc32_of(bytes.data() + start, n), zlib_crc(bytes.data() + start, n))
          << start << " " << n;
  const uint32_t whole = zlib_crc(bytes.data(), bytes.size());
  for (size_t split = 0; split <= bytes.size(); ++split) {
    const uint32_t head = crc32_update(0, bytes.data(), split);
    EXPECT_EQ(crc32_update(head, bytes.data() + split, bytes.size() - split), whole) << split;
  }
}

TEST(Crc32, EqualsZlibOnAChipOfRandomAndErasedBytes) {
  std::vector<uint8_t> chip = random_bytes(size_t{8} << 20, 2);
  std::fill(chip.begin() + (5 << 20), chip.end(), uint8_t{0xFF});
  EXPECT_EQ(crc32_of(chip.data(), chip.size()), zlib_crc(chip.data(), chip.size()));
}

}  // namespace
