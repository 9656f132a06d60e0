// Which format a file is read as: its extension, and its content where the
// extension says nothing.
#include <gtest/gtest.h>

#include "text/catalogue.h"

namespace tralk::text {
namespace {

TEST(RecogniseFormat, ByExtensionThenByContent) {
  const struct {
    const char* name;
    std::string bytes;
    CatalogueFormat format;
  } cases[] = {
      {"de.po", "", CatalogueFormat::po},
      {"ui.POT", "", CatalogueFormat::po},
      {"de.mo", "", CatalogueFormat::mo},
      {"de.gmo", "", CatalogueFormat::mo},
      {"de.xlf", "", CatalogueFormat::xliff},
      {"de.xliff", "", CatalogueFormat::xliff},
      {"de.json", "", CatalogueFormat::json},
      {"app_de.arb", "", CatalogueFormat::arb},
      {"de.ts", "\xEF\xBB\xBF\n <?xml version=\"1.0\"?><TS/>", CatalogueFormat::ts},
      // A TypeScript source is text.
      {"strings.ts", "export const s = 'Hi';", CatalogueFormat::plain},
      // .txt is plain text whatever it holds.
      {"notes.txt", "msgid \"a\"\nmsgstr \"b\"\n", CatalogueFormat::plain},
      {"notes.txt", "\xDE\x12\x04\x95", CatalogueFormat::plain},
      // Other names by content.
      {"strings", "# comment\n\nmsgid \"\"\n", CatalogueFormat::po},
      {"de.po.in", "msgctxt \"a\"\n", CatalogueFormat::po},
      {"messages", "\x95\x04\x12\xDE", CatalogueFormat::mo},
      {"de.xml", "<?xml version=\"1.0\"?>\n<!DOCTYPE TS>\n<TS version=\"2.1\"/>",
       CatalogueFormat::ts},
      {"de.xml", "<xliff xmlns=\"urn:oasis:names:tc:xliff:document:2.0\" version=\"2.0\"/>",
       CatalogueFormat::xliff},
      {"strings.xml", "<resources><string name=\"a\">A</string></resources>",
       CatalogueFormat::plain},
      {"ui.c", "#include <stdio.h>\nmsgid = 1;\n", CatalogueFormat::plain},
      {"ui", "{\"a\": \"b\"}", CatalogueFormat::plain},
  };
  for (const auto& c : cases)
    EXPECT_EQ(format_name(recognise_format(c.name, c.bytes)), std::string(format_name(c.format)))
        << c.name << ": " << c.bytes;
}

}  // namespace
}  // namespace tralk::text
