// The text helpers against the C library's printf, which they stand in for.
#include "base/text.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>

namespace {

TEST(Text, HexDigitsAsPrintfWritesThem) {
  for (const unsigned long value : {0ul, 0x7ul, 0xABul, 0x1F600ul, 0xFFFFFFFFul, ULONG_MAX})
    for (const int width : {0, 1, 2, 4, 6, 20}) {
      char want[64];
      std::snprintf(want, sizeof want, "%0*lX", width, value);
      EXPECT_EQ(hex_upper(value, width), want) << value << " " << width;
    }
}

TEST(Text, HexDigitOfEachValue) {
  for (unsigned v = 0; v < 16; ++v) {
    char want[2];
    std::snprintf(want, sizeof want, "%X", v);
    EXPECT_EQ(hex_digit_upper(v), want[0]) << v;
  }
}

TEST(Text, NamesInQuotes) {
  EXPECT_EQ(in_quotes("a b.sym"), "\"a b.sym\"");
  EXPECT_EQ(in_quotes(""), "\"\"");
}

}  // namespace
