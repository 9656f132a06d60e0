// The fast scanner of .sym bodies against the lexer: whenever the fast parse
// vouches for a result, the lexer's parse of the same text gives the same
// font; on well-formed fonts it does vouch.
#include "fonts/sym_parse.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "driver/fileio.h"
#include "support/text_stream.h"

namespace {

struct Parsed {
  bool ok = false;
  bool vouched = true;  // false: the fast scan asks for the lexer
  SYMFONT font;
  uint16_t numsym = 0;
};

Parsed by_lexer(const std::string& text) {
  FilePtr f = stream_of(text);
  Parsed p;
  LexTokens tokens;
  SymParser<LexTokens> parser(tokens);
  {
    LexSession lex(f.get());
    p.ok = parser.parse();
  }
  p.numsym = parser.numsym();
  if (p.ok) parser.fill(p.font);
  return p;
}

// block: bytes the scanner reads at a time; small ones put tokens across
// block boundaries.
Parsed fast(const std::string& text, size_t block = ChunkTokens::kBlock) {
  FilePtr f = stream_of(text);
  Parsed p;
  ChunkTokens tokens(f.get(), block);
  SymParser<ChunkTokens> parser(tokens);
  p.ok = parser.parse();
  p.vouched = !tokens.spoiled();
  p.numsym = parser.numsym();
  if (p.ok) parser.fill(p.font);
  return p;
}

// Random well-formed fonts in every spelling the format allows.
class FontText {
 public:
  explicit FontText(unsigned seed) : rng_(seed) {}

  std::string make() {
    const bool colour = pick(3) == 0;
    const unsigned depth = colour ? 1u << pick(5) : 1;
    const unsigned height = 1 + pick(4);
    // Every symbol's rows fit the byte count, which may hold padding.
    const unsigned widest = std::max(1u, (1 + pick(3)) * 8 / depth);
    const unsigned bytes =
        sym_rowbytes(static_cast<uint16_t>(widest), static_cast<uint16_t>(depth)) * height +
        pick(2);
    const unsigned count = 1 + pick(4);
    std::string s = pick(2) ? "// font CP<x.cp>\r\n" : "";
    for (unsigned i = 0; i < count; ++i) {
      if (i) s += "," + gap();
      s += "{" + gap() + "{" + gap();
      if (colour) s += number(0) + "," + gap() + number(depth) + "," + gap();
      s += number(1 + pick(widest)) + gap() + "," + gap() + number(height) + gap() + "}" + gap() +
           "," + gap() + "{";
      for (unsigned b = 0; b < bytes; ++b)
        s += (b ? "," : "") + gap() + number(pick(2) ? pick(256) : rng_() & 0x7FFFFFFF);
      if (pick(4) == 0) s += ",";
      s += gap() + "}" + gap() + "}";
    }
    // A comma may end the file; ";" or "}" may end the list.
    if (pick(3) == 0)
      s += ",";
    else if (pick(2) == 0)
      s += gap() + (pick(2) ? ";" : "}");
    return s + gap();
  }

  // The text with a few characters inserted, removed or replaced.
  std::string damage(std::string s) {
    static const std::string kChars = "{},x/*09aFG \t\r\n-";
    for (unsigned n = 1 + pick(3); n > 0 && !s.empty(); --n) {
      const size_t at = pick(static_cast<unsigned>(s.size()));
      const char c = kChars[pick(static_cast<unsigned>(kChars.size()))];
      switch (pick(3)) {
        case 0:
          s.insert(at, 1, c);
          break;
        case 1:
          s.erase(at, 1);
          break;
        default:
          s[at] = c;
      }
    }
    return s;
  }

 private:
  unsigned pick(unsigned n) { return static_cast<unsigned>(rng_() % n); }

  std::string number(uint32_t v) {
    static const char kHex[] = "0123456789abcdef";
    std::string zeros(pick(4) == 0 ? 1 + pick(2) : 0, '0');
    if (pick(2)) return zeros + std::to_string(v);
    std::string digits;
    do {
      char d = kHex[v % 16];
      if (pick(2)) d = static_cast<char>(std::toupper(d));
      digits.insert(digits.begin(), d);
      v /= 16;
    } while (v);
    return std::string("0") + (pick(2) ? "x" : "X") + zeros + digits;
  }

  std::string gap() {
    static const char* const kGaps[] = {"",       "",     " ",        "\t",      "\r\n",
                                        "\n",     "\r",   "\x01",     "/* c */", "/*/ * /**/",
                                        "// x\n", "//\r", " /*\n*/ ", "/**//**/"};
    return kGaps[pick(sizeof kGaps / sizeof kGaps[0])];
  }

  std::mt19937 rng_;
};

void expect_same_font(const SYMFONT& a, const SYMFONT& b, const std::string& text) {
  EXPECT_EQ(a.symdata, b.symdata) << text;
  EXPECT_EQ(a.numsym, b.numsym) << text;
  EXPECT_EQ(a.symwidth, b.symwidth) << text;
  EXPECT_EQ(a.symheight, b.symheight) << text;
  EXPECT_EQ(a.symbytes, b.symbytes) << text;
}

TEST(SymParseFast, VouchesForWellFormedFontsAndAgreesWithTheLexer) {
  FontText gen(1);
  for (int i = 0; i < 400; ++i) {
    const std::string text = gen.make();
    const Parsed want = by_lexer(text);
    const Parsed got = fast(text, i % 2 ? ChunkTokens::kBlock : 1 + i % 7);
    ASSERT_TRUE(want.ok) << text;
    ASSERT_TRUE(got.ok && got.vouched) << text;
    expect_same_font(got.font, want.font, text);
  }
}

TEST(SymParseFast, NeverVouchesForWhatTheLexerReadsOtherwise) {
  FontText gen(2);
  int vouched = 0;
  for (int i = 0; i < 3000; ++i) {
    const std::string text = gen.damage(gen.make());
    const Parsed got = fast(text, i % 2 ? ChunkTokens::kBlock : 1 + i % 7);
    if (!got.ok || !got.vouched) continue;
    ++vouched;
    const Parsed want = by_lexer(text);
    ASSERT_TRUE(want.ok) << text;
    expect_same_font(got.font, want.font, text);
  }
  EXPECT_GT(vouched, 100) << "damaged texts that still parse are compared too";
}

TEST(SymParseFast, LeavesOddSpellingsToTheLexer) {
  // Each parses through the lexer (or fails there); the fast scan does not
  // vouch for any of them.
  const char* const texts[] = {
      "{{8,1},{1,/2}}",        // a lone "/" gives back the character after it
      "{{8,1},{1}},/",         // ... also after the last symbol
      "{{8,1},{5",             // a number ended by the end of the file
      "{{8,1},{0x80000000}}",  // the top bit set: no number for the lexer
  };
  for (const char* text : texts) {
    const Parsed got = fast(text);
    EXPECT_FALSE(got.ok && got.vouched) << text;
  }
}

}  // namespace
