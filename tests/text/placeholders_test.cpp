// What is not text: printf's conversions, Qt's arguments, i18next's
// placeholders and ICU's message syntax.
#include "text/placeholders.h"

#include <gtest/gtest.h>

#include "text/icu_message.h"

namespace tralk::text {
namespace {

TEST(Placeholders, PrintfConversionsSelectNothing) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {
      {"%d %i %u %o %x %X %c %s %p %e %E %f %F %g %G %a %A %n %m|", "                  |"},
      {"[%1$s][%-5.2f][%+08.3e][%#x][%'d][%*d][%.*s][%1$*2$d]", "[][][][][][][][]"},
      {"[%hhd][%hd][%ld][%lld][%lu][%zu][%jd][%td][%Lf][%qd][%ls][%lc]",
       "[][][][][][][][][][][][]"},
      {"[%<PRIu64>][%(name)s][%(n)5.1f]", "[][][]"},
      {"100%% sure, 50% done, % of, 5%, %", "100% sure, 50% done, % of, 5%, %"},
      {"%y %5 %.", "%y %5 %."},
      {"% d", "% d"},  // the blank flag is not taken
      {"%(unclosed %<PRIx %(a b)s", "%(unclosed %<PRIx %(a b)s"},
  };
  for (const auto& c : cases) EXPECT_EQ(without_printf_conversions(c.in), c.out) << c.in;
}

TEST(Placeholders, QtArgumentsAndI18next) {
  const struct {
    const char* in;
    const char* out;
  } qt[] = {
      {"%1, %2 and %99: %n files, %L1 %Ln", ",  and :  files,  "},
      {"%100 %0 %L %x 100%", "0 %0 %L %x 100%"},
  };
  for (const auto& c : qt) EXPECT_EQ(without_qt_arguments(c.in), c.out) << c.in;
  const struct {
    const char* in;
    const char* out;
  } i18next[] = {
      {"{{count}} items, {{- raw}}, {{val, number}}!", " items, , !"},
      {"See $t(other.key) and $t(k, {\"count\": (2)}).", "See  and ."},
      {"{{open and $t(open", "{{open and $t(open"},
      {"$t(outer $t(inner) {{a}} }}", "$t(outer   }}"},
      {"{single} braces stay", "{single} braces stay"},
  };
  for (const auto& c : i18next) EXPECT_EQ(without_i18next_placeholders(c.in), c.out) << c.in;
}

TEST(Placeholders, IcuMessagesGiveTheirBranchTexts) {
  const struct {
    const char* in;
    std::vector<std::string> out;
  } cases[] = {
      {"Hello {name}, {n, number} {d, date, short}!", {"Hello ,  !"}},
      {"{count, plural, =0 {no items} one {# item} other {# items}}",
       {"no items", " item", " items"}},
      {"{g, select, female {She} male {He} other {They}} has {n, plural, one {# cat} other {# "
       "cats}}",
       {"She has  cat", "He has  cats", "They has  cats"}},
      {"{n, selectordinal, one {#st} two {#nd} other {#th}}", {"st", "nd", "th"}},
      {"{a, select, x {X{b, select, y {Y} other {Z}}} other {W}}", {"XY", "XZ", "W"}},
      {"It's '{'quoted'}' and ''this''", {"It's {quoted} and 'this'"}},
      {"# outside a plural", {"# outside a plural"}},
  };
  for (const auto& c : cases) {
    const Outcome<std::vector<std::string>> texts = icu_message_texts(c.in);
    ASSERT_TRUE(texts.ok()) << c.in << ": " << texts.error();
    EXPECT_EQ(texts.value(), c.out) << c.in;
  }
  // Past kMaxMessageTexts branches the last text holds the rest.
  std::string many = "{k, select,";
  for (int i = 0; i < 40; ++i) many += " b" + std::to_string(i) + " {" + std::to_string(i) + ";}";
  many += " other {o}}";
  const Outcome<std::vector<std::string>> texts = icu_message_texts(many);
  ASSERT_TRUE(texts.ok()) << texts.error();
  ASSERT_EQ(texts->size(), kMaxMessageTexts);
  EXPECT_EQ(texts->front(), "0;");
  EXPECT_EQ(texts->back(), "31;32;33;34;35;36;37;38;39;o");

  const struct {
    const char* in;
    const char* error;
  } bad[] = {
      {"ab {open", "a brace without its partner"},
      {"{n, plural, one {x}}",
       "a plural or select argument without its \"other\" branch at character 1"},
      {"{n, plural, one x other {y}}", "a syntax error at character 13"},
  };
  for (const auto& c : bad) {
    const Outcome<std::vector<std::string>> refused = icu_message_texts(c.in);
    ASSERT_FALSE(refused.ok()) << c.in;
    EXPECT_EQ(refused.error(), c.error) << c.in;
  }
  EXPECT_EQ(icu_message_texts(std::string(65, '{')).error(),
            "arguments nested deeper than 64 levels");
}

}  // namespace
}  // namespace tralk::text
