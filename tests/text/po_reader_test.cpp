// gettext .po files: exactly the displayed strings, and each damage named
// by its line.
#include <gtest/gtest.h>

#include "text/catalogue_listing.h"

namespace tralk::text {
namespace {

TEST(PoReader, OnlyTheDisplayedStrings) {
  const struct {
    const char* po;
    const char* strings;
  } cases[] = {
      // The header is metadata; comments, references, flags and contexts
      // are not text; a plural keeps every form.
      {R"(# Translator comment
msgid ""
msgstr ""
"Project-Id-Version: ui 1.0\n"
"Content-Type: text/plain; charset=UTF-8\n"

#. extracted comment
#: src/main.c:12
#| msgid "Old"
#, fuzzy, c-format
msgctxt "menu"
msgid "Open"
msgstr "Öffnen"

msgid "One file"
msgid_plural "Many files"
msgstr[0] "Eine Datei"
msgstr[1] "Viele Dateien"
msgstr[2] "Mnoho souborů"
)",
       "12 [Open] Open\n13 [Open] Öffnen\n"
       "15 [One file] One file\n16 [One file] Many files\n17 [One file] Eine Datei\n"
       "18 [One file] Viele Dateien\n19 [One file] Mnoho souborů\n"},
      // Escapes, continuation lines, CR LF line ends, blanks before keywords.
      {"msgid \"a\\tb\\n\"\r\n  \"c\\\"d\\\\e\"\r\nmsgstr \"\\101\\x42\\x4a\\7z\\?\"\r\n",
       "1 [a\\tb\\nc\"d\\e] a\\tb\\nc\"d\\e\n3 [a\\tb\\nc\"d\\e] ABJ\az?\n"},
      // printf's conversions select nothing, unless the entry says it is no
      // format; "%%" is a percent sign.
      {R"(msgid "%d of %s: %1$s %-5.2f %lu 100%%"
msgstr "50% done"

#, no-c-format
msgid "%d stays"
msgstr ""
)",
       "1 [%d of %s: %1$s %-5.2f %lu 100%%]  of :    100%\n2 [%d of %s: %1$s %-5.2f %lu 100%%] "
       "50% done\n5 [%d stays] %d stays\n"},
      // Qt's arguments where the entry is flagged qt-format.
      {"#, qt-format\nmsgid \"%1 of %n\"\nmsgstr \"%L1 von %2\"\n",
       "2 [%1 of %n]  of \n3 [%1 of %n]  von \n"},
      // Decomposed text is composed; the key stays as written.
      {"msgid \"\xCE\xB9\xCC\x81\"\nmsgstr \"e\xCC\x82\"\n",
       "1 [\xCE\xB9\xCC\x81] \xCE\xAF\n2 [\xCE\xB9\xCC\x81] \xC3\xAA\n"},
      // Obsolete entries are comments; an untranslated msgstr shows nothing.
      {"#~ msgid \"Gone\"\n#~ msgstr \"Weg\"\nmsgid \"Kept\"\nmsgstr \"\"\n", "3 [Kept] Kept\n"},
      // A context alone with an empty msgid is no header.
      {"msgctxt \"c\"\nmsgid \"\"\nmsgstr \"Leer\"\n", "3 [] Leer\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(listing_of("de.po", c.po), c.strings) << c.po;
}

TEST(PoReader, DamageNamesItsLine) {
  const struct {
    const char* po;
    const char* error;
  } cases[] = {
      {"msgid \"a\"\nmsgstr \"b", "line 2 of \"de.po\": the string has no closing quote"},
      {"msgid \"a\\", "line 1 of \"de.po\": the string has no closing quote"},
      {"msgid \"a\\qb\"\nmsgstr \"\"", "line 1 of \"de.po\": unknown escape \"\\q\""},
      {"msgid \"\\777\"\nmsgstr \"\"",
       "line 1 of \"de.po\": octal escape \"\\777\" is above \\377"},
      {"msgid \"\\xg\"\nmsgstr \"\"", "line 1 of \"de.po\": \\x without a hexadecimal digit"},
      {"msgid \"a\" b\n", "line 1 of \"de.po\": text after the string's closing quote"},
      {"msgid\n", "line 1 of \"de.po\": msgid without its string"},
      {"msgid a\n", "line 1 of \"de.po\": a string must start with a double quote"},
      {"\"a\"\n", "line 1 of \"de.po\": a string without a keyword before it"},
      {"msgfoo \"a\"\n", "line 1 of \"de.po\": unknown keyword \"msgfoo\""},
      {"msgstr \"a\"\n", "line 1 of \"de.po\": msgstr without a msgid before it"},
      {"msgid \"a\"\nmsgid \"b\"\n",
       "line 2 of \"de.po\": a second msgid; the entry of line 1 has no msgstr"},
      {"msgid \"a\"\nmsgstr \"b\"\nmsgstr \"c\"\n", "line 3 of \"de.po\": a second msgstr"},
      {"msgid \"a\"\nmsgctxt \"c\"\n",
       "line 2 of \"de.po\": msgctxt inside an entry; it comes before the entry's msgid"},
      {"msgid \"a\"\nmsgstr[0] \"b\"\n",
       "line 2 of \"de.po\": \"msgstr[0]\" in an entry without msgid_plural"},
      {"msgid \"a\"\nmsgid_plural \"b\"\nmsgstr \"c\"\n",
       "line 3 of \"de.po\": an entry with msgid_plural takes msgstr[0], msgstr[1]..., not msgstr"},
      {"msgid \"a\"\nmsgid_plural \"b\"\nmsgstr[1] \"c\"\n",
       "line 3 of \"de.po\": \"msgstr[1]\" where msgstr[0] comes next"},
      {"msgid_plural \"b\"\n", "line 1 of \"de.po\": msgid_plural without a msgid just before it"},
      {"# c\nmsgid \"a\"\n\n", "line 2 of \"de.po\": the entry has no msgstr"},
      {"msgctxt \"a\"\n", "line 1 of \"de.po\": msgctxt without a msgid"},
      {"msgid \"ok\"\nmsgstr \"\"\n\"\xC3(\"\n", "line 3 of \"de.po\" is not UTF-8 text"},
      {"msgid \"\\303\"\nmsgstr \"\"",
       "line 1 of \"de.po\": its escapes make bytes that are not UTF-8 text"},
      {"msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=ISO-8859-1\\n\"\n",
       "line 2 of \"de.po\": the catalogue is in ISO-8859-1, not UTF-8 (msgconv -t UTF-8 "
       "converts it)"},
  };
  for (const auto& c : cases) {
    const Outcome<Catalogue> cat = parse_catalogue("de.po", c.po);
    ASSERT_FALSE(cat.ok()) << c.po;
    EXPECT_EQ(cat.code(), Fault::format);
    EXPECT_EQ(cat.error(), c.error) << c.po;
  }
}

}  // namespace
}  // namespace tralk::text
