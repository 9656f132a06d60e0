// The pieces that read codes from a command line: -r lists, UTF-8 text and
// code page tables (checked against characters the code pages are known to
// hold).
#include <gtest/gtest.h>

#include "cli/charset.h"
#include "cli/utf8.h"
#include "import/fonts/code_ranges.h"

namespace {

using namespace tralk::cli;
using namespace tralk::importer;

TEST(ImportCodes, RangeListsInEveryForm) {
  struct Case {
    const char* text;
    std::vector<CodeRange> want;
  };
  const Case cases[] = {
      {"0x20-0x7E", {{0x20, 0x7E, 0x20}}},
      {"0x20-0x7E,0xA0-0xFF", {{0x20, 0x7E, 0x20}, {0xA0, 0xFF, 0xA0}}},
      {"U+0400-U+045F", {{0x400, 0x45F, 0x400}}},
      {"u+41, 66 ,0X43", {{0x41, 0x41, 0x41}, {66, 66, 66}, {0x43, 0x43, 0x43}}},
      {"0x1F600-0x1F64F=>0xE000", {{0x1F600, 0x1F64F, 0xE000}}},
      {"0x41 => U+0061", {{0x41, 0x41, 0x61}}},
      {"0-0xFFFF", {{0, 0xFFFF, 0}}},
      {"0x10FFFF=>0xFFFF", {{0x10FFFF, 0x10FFFF, 0xFFFF}}},
  };
  for (const Case& c : cases) {
    const Outcome<std::vector<CodeRange>> got = parse_ranges(c.text);
    ASSERT_TRUE(got.ok()) << c.text << ": " << got.error();
    EXPECT_EQ(got.value(), c.want) << c.text;
  }
  for (const char* bad : {"", ",", "0x", "U+", "0x41,", "-5", "0x41-", "0x41--0x42", "0x110000",
                          "0=>65536", "0x41=>", "0x41=>0x42=>0x43", "4 1", "0x+41"}) {
    const Outcome<std::vector<CodeRange>> got = parse_ranges(bad);
    EXPECT_FALSE(got.ok()) << bad;
    EXPECT_EQ(got.code(), Fault::usage) << bad;
    EXPECT_FALSE(got.error().empty()) << bad;
  }
}

TEST(ImportCodes, Utf8Text) {
  const std::pair<const char*, std::vector<char32_t>> good[] = {
      {"", {}},
      {"Az", {'A', 'z'}},
      {"\xC3\xA4\xD0\x96", {0xE4, 0x416}},                  // ä Ж
      {"\xE2\x82\xAC\xF0\x9F\x98\x80", {0x20AC, 0x1F600}},  // € 😀
      {"\xF4\x8F\xBF\xBF", {0x10FFFF}},
  };
  for (const auto& [text, want] : good) EXPECT_EQ(utf8_decode(text), want) << text;
  for (const char* bad : {"\x80", "\xC3", "\xC0\x80", "\xE0\x80\xAF", "\xED\xA0\x80",
                          "\xF4\x90\x80\x80", "\xF8\x88\x80\x80\x80", "\xC3\x41"})
    EXPECT_FALSE(utf8_decode(bad)) << testing::PrintToString(std::string(bad));
}

TEST(ImportCodes, CodePagesAsIconvKnowsThem) {
  struct Case {
    const char* page;
    uint8_t byte;
    std::optional<char32_t> unicode;
  };
  const Case cases[] = {
      {"CP1251", 0xC0, 0x410},     {"CP1251", 0xFF, 0x44F},  {"CP1251", 0x98, std::nullopt},
      {"KOI8-R", 0xC1, 0x430},     {"KOI8-R", 0xE1, 0x410},  {"CP437", 0xB0, 0x2591},
      {"ISO-8859-2", 0xA3, 0x141}, {"cp1252", 0x80, 0x20AC}, {"CP1252", 0x41, 'A'},
  };
  for (const Case& c : cases) {
    const Outcome<CodePage> page = CodePage::open(c.page);
    ASSERT_TRUE(page.ok()) << c.page << ": " << page.error();
    EXPECT_EQ(page->to_unicode(c.byte), c.unicode) << c.page << " " << int(c.byte);
    if (c.unicode) {
      EXPECT_EQ(page->from_unicode(*c.unicode), c.byte) << c.page;
    }
  }
}

// An encoding that is no single-byte code page: what iconv lacks is not
// found, a multi-byte encoding is not taken; named on a command line, either
// is a usage fault with the same words.
TEST(ImportCodes, EncodingsThatAreNoCodePage) {
  struct Case {
    const char* name;
    Fault open_code;
    const char* text;
  };
  const Case cases[] = {
      {"NO-SUCH-PAGE", Fault::not_found,
       "unknown encoding \"NO-SUCH-PAGE\" (iconv -l lists the code pages)"},
      {"UTF-16", Fault::unsupported, "encoding \"UTF-16\" is not a single-byte code page"},
  };
  for (const Case& c : cases) {
    const Outcome<CodePage> page = CodePage::open(c.name);
    ASSERT_FALSE(page.ok()) << c.name;
    EXPECT_EQ(page.code(), c.open_code) << c.name;
    EXPECT_EQ(page.error(), c.text);
    const Outcome<Encoding> encoding = parse_encoding(c.name);
    ASSERT_FALSE(encoding.ok()) << c.name;
    EXPECT_EQ(encoding.code(), Fault::usage) << c.name;
    EXPECT_EQ(encoding.error(), c.text);
  }
  for (const char* word : {"unicode", "NATIVE", "Unicode"}) EXPECT_TRUE(parse_encoding(word).ok());
}

}  // namespace
