// gettext's .mo files: the strings that msgfmt compiles from a .po file are
// those of the .po file, in either byte order; damaged files are refused,
// naming the byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "support/run_tralk.h"
#include "support/tempdir.h"
#include "text/catalogue_listing.h"

namespace tralk::text {
namespace {

void put_u32(std::string& out, size_t at, uint32_t v, bool big) {
  for (size_t i = 0; i < 4; ++i) out[at + i] = static_cast<char>(v >> (big ? 24 - 8 * i : 8 * i));
}

// A .mo file laid out as msgfmt does without a hash table: the header, the
// two tables, then each original and its translation, each with its NUL.
std::string mo_file(const std::vector<std::pair<std::string, std::string>>& entries, bool big) {
  const auto n = static_cast<uint32_t>(entries.size());
  std::string out(28 + 16 * n, '\0');
  for (const auto& [index, value] : std::vector<std::pair<size_t, uint32_t>>{
           {0, 0x950412DE}, {4, 0}, {8, n}, {12, 28}, {16, 28 + 8 * n}, {20, 0}, {24, 0}})
    put_u32(out, index, value, big);
  for (uint32_t i = 0; i < n; ++i) {
    for (const int t : {0, 1}) {
      const std::string& s = t == 0 ? entries[i].first : entries[i].second;
      const size_t entry = 28 + 8 * n * static_cast<uint32_t>(t) + 8 * i;
      put_u32(out, entry, static_cast<uint32_t>(s.size()), big);
      put_u32(out, entry + 4, static_cast<uint32_t>(out.size()), big);
      out += s;
      out += '\0';
    }
  }
  return out;
}

const std::vector<std::pair<std::string, std::string>> kEntries = {
    {"", "Content-Type: text/plain; charset=UTF-8\n"},
    {"menu\x04Open",
     "\xC3\x96"
     "ffnen"},
    {std::string("%d file\0%d files", 16), std::string("%d Datei\0%d Dateien", 19)},
};

TEST(MoReader, SplitsContextsAndPluralFormsInEitherByteOrder) {
  for (const bool big : {false, true}) {
    EXPECT_EQ(listing_of("de.mo", mo_file(kEntries, big)),
              "@123 [Open] Open\n@128 [Open] \xC3\x96"
              "ffnen\n@136 [%d file]  file\n@144 [%d file]  files\n"
              "@153 [%d file]  Datei\n@162 [%d file]  Dateien\n")
        << big;
  }
}

TEST(MoReader, DamageNamesItsByte) {
  const std::string good = mo_file(kEntries, false);
  const auto patched = [&](size_t at, uint32_t v) {
    std::string mo = good;
    put_u32(mo, at, v, false);
    return mo;
  };
  std::string no_nul = good;
  no_nul[135] = 'x';
  std::string latin1 = mo_file({{"", "Content-Type: text/plain; charset=ISO-8859-1\n"}}, true);
  const struct {
    std::string mo;
    const char* error;
  } cases[] = {
      {good.substr(0, 10), "byte 10 of \"de.mo\": the file ends inside its header of 28 bytes"},
      {"\x95\x04\x12\xDE", "byte 4 of \"de.mo\": the file ends inside its header of 28 bytes"},
      {std::string(28, 'a'),
       "byte 0 of \"de.mo\": not a compiled gettext catalogue: its first four bytes are not "
       "0x950412DE in either byte order"},
      {patched(4, 0x20000), "byte 4 of \"de.mo\": revision 2.0 is not read (0 and 1 are)"},
      {patched(8, 1000),
       "byte 28 of \"de.mo\": the table of 1000 original strings reaches past the end of the file "
       "(173 bytes)"},
      {patched(16, 170),
       "byte 170 of \"de.mo\": the table of 3 translations reaches past the end of the file (173 "
       "bytes)"},
      {patched(28 + 8, 1000),
       "byte 36 of \"de.mo\": original string 1 (1000 bytes at byte 118) reaches past the end of "
       "the file"},
      {patched(52 + 4, 0xFFFFFFFF),
       "byte 52 of \"de.mo\": translation 0 (40 bytes at byte 4294967295) reaches past the end of "
       "the file"},
      {no_nul, "byte 135 of \"de.mo\": translation 1 does not end in a NUL byte"},
      {mo_file({{"a", "\xC3("}}, false), "byte 46 of \"de.mo\" is not UTF-8 text"},
      {latin1,
       "byte 45 of \"de.mo\": the catalogue is in ISO-8859-1, not UTF-8 (msgconv -t UTF-8 "
       "converts it)"},
  };
  for (const auto& c : cases) {
    const Outcome<Catalogue> cat = parse_catalogue("de.mo", c.mo);
    ASSERT_FALSE(cat.ok()) << c.error;
    EXPECT_EQ(cat.error(), c.error);
  }
}

// The (key, text) pairs of a catalogue, in order.
std::vector<std::pair<std::string, std::string>> pairs(const Catalogue& cat) {
  std::vector<std::pair<std::string, std::string>> out;
  for (const DisplayString& s : cat.strings) out.emplace_back(s.key, s.text);
  std::sort(out.begin(), out.end());
  return out;
}

// msgfmt, an independent writer, compiles a .po file in each byte order:
// the .mo files show the .po file's strings.
TEST(MoReader, ReadsWhatMsgfmtWrites) {
  if (!std::filesystem::exists("/usr/bin/msgfmt"))
    GTEST_SKIP() << "msgfmt (Debian gettext) is not installed: no .mo file to read";
  TempDir dir;
  dir.write("de.po",
            "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n"
            "\"Plural-Forms: nplurals=3; plural=n==1 ? 0 : n==2 ? 1 : 2;\\n\"\n\n"
            "msgctxt \"menu\"\nmsgid \"Open\"\nmsgstr \"\xC3\x96\"\n\"ffnen\"\n\n"
            "msgctxt \"verb\"\nmsgid \"Open\"\nmsgstr \"Aufmachen\"\n\n"
            "#, c-format\nmsgid \"%d file\"\nmsgid_plural \"%d files\"\n"
            "msgstr[0] \"%d Datei\"\nmsgstr[1] \"%d Dateien\"\nmsgstr[2] \"%d Dateien!\"\n\n"
            "msgid \"Tab\\there\\n\"\nmsgstr \"e\xCC\x81\\\"q\\\"\\n\"\n");
  for (const char* order : {"little", "big"}) {
    const std::string command =
        std::string("/usr/bin/msgfmt --endianness=") + order + " -o " + order + ".mo de.po 2>&1";
    const RunResult r = run_command(dir.path(), command);
    ASSERT_EQ(r.status, 0) << r.out;
  }
  const std::string little = read_bytes(dir.path() / "little.mo");
  ASSERT_NE(little, read_bytes(dir.path() / "big.mo"));
  const Outcome<Catalogue> po = read_catalogue(dir.file("de.po"));
  ASSERT_TRUE(po.ok()) << po.error();
  ASSERT_EQ(po->strings.size(), 11u);
  for (const char* order : {"little", "big"}) {
    const Outcome<Catalogue> mo = read_catalogue(dir.file(std::string(order) + ".mo"));
    ASSERT_TRUE(mo.ok()) << mo.error();
    EXPECT_EQ(mo->format, CatalogueFormat::mo);
    EXPECT_EQ(pairs(mo.value()), pairs(po.value())) << order;
  }
}

}  // namespace
}  // namespace tralk::text
