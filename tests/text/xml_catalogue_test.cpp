// Qt Linguist and XLIFF files, through expat: sources and translations,
// inline elements, width limits, and broken files named by their line.
#include <gtest/gtest.h>

#include "text/catalogue_listing.h"

namespace tralk::text {
namespace {

TEST(XmlCatalogues, SourcesAndTranslations) {
  const struct {
    const char* name;
    const char* xml;
    const char* strings;
  } cases[] = {
      {"de.ts", R"(<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>MainWindow</name>
    <message>
        <location filename="main.cpp" line="12"/>
        <source>Open %1</source>
        <oldsource>Openx</oldsource>
        <comment>menu</comment>
        <extracomment>Note</extracomment>
        <translatorcomment>Mine</translatorcomment>
        <translation>Öffnen %1 &amp; mehr</translation>
    </message>
    <message numerus="yes">
        <source>%n file(s)</source>
        <translation>
            <numerusform>%n Datei</numerusform>
            <numerusform><lengthvariant>%Ln Dateien</lengthvariant><lengthvariant>%n D.</lengthvariant></numerusform>
        </translation>
    </message>
    <message>
        <source>Gone</source>
        <translation type="vanished">Weg</translation>
    </message>
    <message>
        <source>Bell<byte value="x7"/>!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
)",
       "8 [Open %1] Open \n13 [Open %1] Öffnen  & mehr\n16 [%n file(s)]  file(s)\n"
       "18 [%n file(s)]  Datei\n19 [%n file(s)]  Dateien\n19 [%n file(s)]  D.\n"
       "27 [Bell\a!] Bell\a!\n"},
      {"de.xlf", R"(<?xml version="1.0"?>
<xliff version="1.2" xmlns="urn:oasis:names:tc:xliff:document:1.2">
 <file source-language="en" target-language="de" datatype="plaintext" original="ui">
  <body>
   <group id="g" maxwidth="5">
    <trans-unit id="1" resname="title" maxwidth="120">
     <source>Alarm: <g id="b">overheating</g><x id="x"/>!</source>
     <target>Alarm: <g id="b">Überhitzung</g>! <ph id="p">%s<sub>Bild</sub></ph><bpt id="1">&lt;b&gt;</bpt>fett<ept id="1">&lt;/b&gt;</ept></target>
     <note>Not text</note>
     <alt-trans><target>Suggestion</target></alt-trans>
    </trans-unit>
    <trans-unit id="2" maxwidth="12" size-unit="char"><source>Menu</source><seg-source><mrk mtype="seg">Menu</mrk></seg-source><target><mrk mtype="term">Menü</mrk></target></trans-unit>
    <trans-unit id="3" maxwidth="3" size-unit="em"><source>Wide</source></trans-unit>
   </group>
  </body>
 </file>
</xliff>
)",
       "7 [title] Alarm: overheating! (max 120 px)\n"
       "8 [title] Alarm: Überhitzung! Bildfett (max 120 px)\n"
       "12 [2] Menu (max 12 chars)\n12 [2] Menü (max 12 chars)\n13 [3] Wide\n"},
      {"de.xliff",
       R"(<xliff xmlns="urn:oasis:names:tc:xliff:document:2.0" version="2.0" srcLang="en" trgLang="de"
  xmlns:mtc="urn:oasis:names:tc:xliff:matches:2.0" xmlns:slr="urn:oasis:names:tc:xliff:sizerestriction:2.0">
 <file id="f1">
  <slr:profiles generalProfile="xliff:codepoints" storageProfile="xliff:utf8"/>
  <unit id="u1" name="greeting" slr:sizeRestriction="20">
   <mtc:matches><mtc:match ref="#1"><source>Hi</source><target>Servus</target></mtc:match></mtc:matches>
   <notes><note>Not text</note></notes>
   <segment><source>Hello <pc id="1">world</pc><ph id="2"/>.</source>
     <target>Hallo <pc id="1">Welt</pc>.</target></segment>
   <ignorable><source> </source><target> </target></ignorable>
   <segment><source>Bye<cp hex="0007"/></source><target>Tschüss</target></segment>
  </unit>
 </file>
 <file id="f2"><unit id="u2" slr:sizeRestriction="5"><segment><source>No profile</source></segment></unit></file>
</xliff>
)",
       "8 [greeting] Hello world. Bye\a (max 20 chars)\n"
       "9 [greeting] Hallo Welt. Tschüss (max 20 chars)\n"
       "14 [u2] No profile\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(listing_of(c.name, c.xml), c.strings) << c.name;
}

TEST(XmlCatalogues, BrokenFilesNameTheirLine) {
  const struct {
    const char* name;
    const char* xml;
    const char* error;
  } cases[] = {
      {"de.ts", "<TS>\n<context>\n</TS>\n", "line 3 of \"de.ts\": broken XML: mismatched tag"},
      {"de.ts", "<TS>\n<context><message><source>a",
       "line 2 of \"de.ts\": broken XML: the file ends before its elements are closed"},
      {"de.xlf", "", "line 1 of \"de.xlf\": broken XML: no element found"},
      {"de.ts", "<TS><context><message><source>\xC3(</source></message></context></TS>",
       "line 1 of \"de.ts\": broken XML: not well-formed (invalid token)"},
      {"de.ts", "<?xml version=\"1.0\"?>\n<html/>",
       "line 2 of \"de.ts\": the root element is <html>, not <TS>"},
      {"de.ts",
       "<TS><context><message><source><byte value=\"xD800\"/></source></message></context></TS>",
       "line 1 of \"de.ts\": <byte value=\"xD800\"> is not a character"},
      {"de.xlf", "<TS/>", "line 1 of \"de.xlf\": the root element is <TS>, not <xliff>"},
      {"de.xlf", "<xliff version=\"3.0\"/>",
       "line 1 of \"de.xlf\": XLIFF version \"3.0\" is not read (1.2 and 2.0 are)"},
      {"de.xlf", "<xliff version=\"1.2\">\n<file><body>\n<trans-unit id=\"a\" maxwidth=\"wide\"/>",
       "line 3 of \"de.xlf\": maxwidth \"wide\" is not a number"},
      {"de.xlf",
       "<xliff version=\"2.0\"><file><unit id=\"u\"><segment><source><cp hex=\"zz\"/></source>",
       "line 1 of \"de.xlf\": <cp hex=\"zz\"> is not a character"},
  };
  for (const auto& c : cases) {
    const Outcome<Catalogue> cat = parse_catalogue(c.name, c.xml);
    ASSERT_FALSE(cat.ok()) << c.xml;
    EXPECT_EQ(cat.code(), Fault::format);
    EXPECT_EQ(cat.error(), c.error) << c.xml;
  }
}

}  // namespace
}  // namespace tralk::text
