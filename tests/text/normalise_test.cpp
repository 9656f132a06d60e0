#include "text/normalise.h"

#include <gtest/gtest.h>

#include "text/catalogue.h"

namespace tralk::text {
namespace {

TEST(Normalise, ComposesWhatHasAComposedForm) {
  const struct {
    const char* in;
    const char* nfc;
  } cases[] = {
      {"\xCE\xB9\xCC\x81", "\xCE\xAF"},              // ι U+0301 -> ί U+03AF
      {"A\xCC\x8A", "\xC3\x85"},                     // A U+030A -> Å
      {"\xE2\x84\xAB", "\xC3\x85"},                  // the Angstrom sign U+212B -> Å
      {"e\xCC\xA3\xCC\x82", "\xE1\xBB\x87"},         // e, dot below, circumflex -> ệ
      {"e\xCC\x82\xCC\xA3", "\xE1\xBB\x87"},         // the marks in the other order
      {"\xE3\x81\x8B\xE3\x82\x99", "\xE3\x81\x8C"},  // か U+3099 -> が
      {"plain ASCII", "plain ASCII"},
      {"q\xCC\x83", "q\xCC\x83"},  // q U+0303 has none
  };
  for (const auto& c : cases) EXPECT_EQ(to_nfc(c.in), c.nfc) << c.in;
}

TEST(Normalise, FindsMarksLeftBesideTheirBase) {
  const struct {
    const char* nfc;
    std::vector<std::u32string> found;
  } cases[] = {
      {"\xCE\xA1\xCF\x85\xCE\xB8\xCE\xBC\xCE\xAF", {}},  // Ρυθμί, composed
      {"q\xCC\x83 and x\xCC\x81\xCC\xA3.", {U"q\u0303", U"x\u0323\u0301"}},
      {"\xCC\x81"
       "a",
       {U"\u0301"}},  // a mark with no base
      {"", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(uncomposed_sequences(to_nfc(c.nfc)), c.found) << c.nfc;
  EXPECT_EQ(code_list(U"q\u0303"), "U+0071 U+0303");
  EXPECT_EQ(code_list(U"\U0001F525"), "U+1F525");
}

TEST(PlainText, OneComposedStringALine) {
  const Outcome<Catalogue> cat =
      parse_catalogue("ui.txt", "\xEF\xBB\xBFOK\r\n\n\xCE\xB9\xCC\x81 x\nlast");
  ASSERT_TRUE(cat.ok()) << cat.error();
  ASSERT_EQ(cat->strings.size(), 3u);
  EXPECT_EQ(cat->strings[0].text, "OK");
  EXPECT_EQ(cat->strings[0].line, 1u);
  EXPECT_EQ(cat->strings[1].text, "\xCE\xAF x");
  EXPECT_EQ(cat->strings[1].line, 3u);
  EXPECT_EQ(cat->strings[2].text, "last");
  EXPECT_EQ(cat->strings[2].line, 4u);

  const Outcome<Catalogue> bad = parse_catalogue("ui.txt", "ok\n\xC3(\n");
  ASSERT_FALSE(bad.ok());
  EXPECT_EQ(bad.code(), Fault::format);
  EXPECT_EQ(bad.error(), "line 2 of \"ui.txt\" is not UTF-8 text");
}

}  // namespace
}  // namespace tralk::text
