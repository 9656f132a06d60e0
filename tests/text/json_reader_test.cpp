// JSON and ARB catalogues: every string value by its path of keys, never a
// key; i18next and ICU placeholders out; broken files named by their line.
#include <gtest/gtest.h>

#include "text/catalogue_listing.h"

namespace tralk::text {
namespace {

TEST(JsonCatalogues, EveryStringValueByItsPath) {
  const struct {
    const char* name;
    const char* json;
    const char* strings;
  } cases[] = {
      {"de.json", R"j({
  "menu": {
    "settings": {"title": "Einstellungen", "count": 3, "on": true, "none": null},
    "items": ["Öffnen", {"label": "Schließen\n"}, ["tief"]]
  },
  "greeting": "Hallo {{name}}, {{- raw}}! $t(menu.settings.title)",
  "files_one": "{{count}} Datei",
  "cart": "{n, plural, one {# Artikel} other {# Artikel im Korb}}",
  "braces": "ein {offenes",
  "escapes": "\u00e9\ud83d\ude00\t\"\\",
  "nfd": "e\u0302"
})j",
       "3 [menu.settings.title] Einstellungen\n4 [menu.items[0]] Öffnen\n"
       "4 [menu.items[1].label] Schließen\\n\n4 [menu.items[2][0]] tief\n"
       "6 [greeting] Hallo , ! \n7 [files_one]  Datei\n8 [cart]  Artikel\n"
       "8 [cart]  Artikel im Korb\n9 [braces] ein {offenes\n"
       "10 [escapes] é😀\\t\"\\\n11 [nfd] ê\n"},
      {"top.json", "\xEF\xBB\xBF[\"a\", [\"b\"]]", "1 [[0]] a\n1 [[1][0]] b\n"},
      {"one.json", "\"only\"", "1 [] only\n"},
      {"de.arb", R"j({
  "@@locale": "de",
  "title": "Titel {app}",
  "@title": {"description": "Not text", "placeholders": {"app": {"type": "String"}}},
  "items": "{count, plural, =0{Keine} other{{count} Stück}}"
})j",
       "3 [title] Titel \n5 [items] Keine\n5 [items]  Stück\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(listing_of(c.name, c.json), c.strings) << c.json;
}

TEST(JsonCatalogues, BrokenFilesNameTheirLine) {
  const struct {
    const char* name;
    const char* json;
    const char* error;
  } cases[] = {
      {"de.json", "{\n  \"a\": \"open\n}",
       "line 2 of \"de.json\": broken JSON: syntax error while parsing value - invalid string: "
       "control character U+000A (LF) must be escaped to \\u000A or \\n"},
      {"de.json", "{\"a\": \"b\",\n}",
       "line 2 of \"de.json\": broken JSON: syntax error while parsing object key - unexpected "
       "'}'; expected string literal"},
      {"de.json", "{\"a\": \"\\q\"}",
       "line 1 of \"de.json\": broken JSON: syntax error while parsing value - invalid string: "
       "forbidden character after backslash"},
      {"de.json", "{\"a\": \"\xC3(\"}",
       "line 1 of \"de.json\": broken JSON: syntax error while parsing value - invalid string: "
       "ill-formed UTF-8 byte"},
      {"de.json", "[\"\\udc00\"]",
       "line 1 of \"de.json\": broken JSON: syntax error while parsing value - invalid string: "
       "surrogate U+DC00..U+DFFF must follow U+D800..U+DBFF"},
      {"de.json", "{}\n{}",
       "line 2 of \"de.json\": broken JSON: syntax error while parsing value - unexpected '{'; "
       "expected end of input"},
      {"de.json", "",
       "line 1 of \"de.json\": broken JSON: syntax error while parsing value - unexpected end of "
       "input; expected '[', '{', or a literal"},
      {"de.arb", "{\n\"a\": \"{n, plural, one {x}}\"}",
       "line 2 of \"de.arb\": \"a\" is not an ICU message: a plural or select argument without "
       "its \"other\" branch at character 1"},
  };
  for (const auto& c : cases) {
    const Outcome<Catalogue> cat = parse_catalogue(c.name, c.json);
    ASSERT_FALSE(cat.ok()) << c.json;
    EXPECT_EQ(cat.code(), Fault::format);
    EXPECT_EQ(cat.error(), c.error) << c.json;
  }
}

}  // namespace
}  // namespace tralk::text
