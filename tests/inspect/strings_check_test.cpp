// --strings as a CI gate: languages checked against the fonts an image
// holds, each finding with the string it is in; code-page fonts; strings
// measured by the display's spacing rule; --quiet and --json.
#include "inspect/strings_check.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "inspect/inspect_helpers.h"
#include "support/tempdir.h"

namespace {

using namespace tralk::inspector;
using inspect_test::decode_png;
using inspect_test::run_inspect_exe;

// ui.bin: Prop (block 0) "?" 4, "A" 2 and "B" 5 pixels wide; Bars (1) "?"
// and codes 0xC0, 0xC1, 3 wide (CP1251's "А", "Б"); Greek (2) "?", "ι" and
// U+0301, the combining acute, but not "ί". All 2 rows high.
void make_fonts(const TempDir& dir) {
  dir.write("prop.sym",
            "// CP<prop.cp>\n{{4,2},{0xF0,0xF0}},\n{{2,2},{0xC0,0xC0}},\n"
            "{{5,2},{0xF8,0xF8}},\n");
  dir.write("prop.cp", "{2, 63},\n{\n  {63, 63, 0},\n  {65, 66, 1}\n}\n");
  dir.write("bars.sym",
            "// CP<bars.cp>\n{{3,2},{0xE0,0xE0}},\n{{3,2},{0x80,0x80}},\n"
            "{{3,2},{0x20,0x20}},\n");
  dir.write("bars.cp", "{2, 63},\n{\n  {63, 63, 0},\n  {192, 193, 1}\n}\n");
  dir.write("greek.sym",
            "// CP<greek.cp>\n{{2,2},{0xC0,0xC0}},\n{{1,2},{0x80,0x80}},\n"
            "{{1,2},{0x80,0x00}},\n");
  dir.write("greek.cp", "{3, 63},\n{\n  {63, 63, 0},\n  {953, 953, 1},\n  {769, 769, 2}\n}\n");
  dir.write("ui.vfg", "ui.bin\nprop.sym Prop\nbars.sym Bars\ngreek.sym Greek\n");
  ASSERT_EQ(run_tralk(dir.path(), "ui.vfg").status, 0);
  dir.write("ab.txt", "ABA\nAB\n");
  dir.write("el.txt", "\xCE\xB9\xCC\x81\n\xCE\xB9\xCC\x83\n");  // "ί" decomposed; "ι" U+0303
  dir.write("ru.txt", "\xD0\x90\xD0\x91\n\xD0\x96\xC3\x9F\n");  // "АБ", "Жß"
}

// The last line of a run whose image is sound and whose strings are not.
constexpr const char* kStringsFail =
    "\nNo problems found in the image, but not every string passes the check\n";

// The table the inspector prints first, which other tests check.
std::string table(const TempDir& dir) {
  std::string out = run_inspect_exe(dir.path(), "ui.bin").out;
  return out.substr(0, out.size() - std::string("\nNo problems found\n").size());
}

TEST(InspectStringsCheck, FindingsOfEachLanguageInEachFont) {
  const TempDir dir;
  make_fonts(dir);
  const std::string head = table(dir);
  const struct {
    const char* args;
    int status;
    const char* out;  // after the table, before the problems
  } cases[] = {
      // A font by its name and no --png: the check alone.
      // NFD: "ί" as ι and U+0301 is checked composed; the font lacks it.
      // A mark with no composed form is drawn apart, and so reported.
      {"--strings el.txt --font Greek", 1,
       "\nStrings \"el.txt\": 2 lines, 3 characters\n"
       "  1 mark has no composed form, which the display draws as a symbol of its own:\n"
       "    el.txt:2: \"\xCE\xB9\xCC\x83\": U+03B9 U+0303\n"
       "  font block 2 (Greek): 2 characters fall to the default character:\n"
       "    U+0303 \"\xCC\x83\":\n      el.txt:2: \"\xCE\xB9\xCC\x83\"\n"
       "    U+03AF \"\xCE\xAF\":\n      el.txt:1: \"\xCE\xB9\xCC\x81\"\n"},
      // "ABA" with 2 pixels between two symbols: 2 + 5 + 2 + 2 x 2 = 13.
      {"--strings ab.txt --font Prop --spacing 2 --max-width 12", 1,
       "\nStrings \"ab.txt\": 2 lines, 5 characters\n"
       "  font block 0 (Prop): every character\n"
       "  font block 0 (Prop): 1 string wider than its limit:\n"
       "    ab.txt:1: \"ABA\": 13 pixels, limit 12\n"},
      {"--strings ab.txt --font Prop --spacing 2 --max-width 13", 0,
       "\nStrings \"ab.txt\": 2 lines, 5 characters\n"
       "  font block 0 (Prop): every character\n"
       "  font block 0 (Prop): every string fits\n"},
      // CP1251 holds "Ж" (0xC6), which the font lacks, but not "ß".
      {"--strings ru.txt --font Bars:CP1251", 1,
       "\nStrings \"ru.txt\": 2 lines, 4 characters\n"
       "  font block 1 (Bars, CP1251): 1 character is not in the code page:\n"
       "    U+00DF \"\xC3\x9F\":\n      ru.txt:2: \"\xD0\x96\xC3\x9F\"\n"
       "  font block 1 (Bars, CP1251): 1 character falls to the default character:\n"
       "    U+0416 \"\xD0\x96\":\n      ru.txt:2: \"\xD0\x96\xC3\x9F\"\n"},
      {"--strings ru.txt --encoding CP1251 --font 1 --font Greek:unicode --max-width 6", 1,
       "\nStrings \"ru.txt\": 2 lines, 4 characters\n"
       "  font block 1 (Bars, CP1251): 1 character is not in the code page:\n"
       "    U+00DF \"\xC3\x9F\":\n      ru.txt:2: \"\xD0\x96\xC3\x9F\"\n"
       "  font block 1 (Bars, CP1251): 1 character falls to the default character:\n"
       "    U+0416 \"\xD0\x96\":\n      ru.txt:2: \"\xD0\x96\xC3\x9F\"\n"
       "  font block 1 (Bars, CP1251): every string fits\n"
       "  font block 2 (Greek): 4 characters fall to the default character:\n"
       "    U+00DF \"\xC3\x9F\":\n      ru.txt:2: \"\xD0\x96\xC3\x9F\"\n"
       "    U+0410 \"\xD0\x90\":\n      ru.txt:1: \"\xD0\x90\xD0\x91\"\n"
       "    U+0411 \"\xD0\x91\":\n      ru.txt:1: \"\xD0\x90\xD0\x91\"\n"
       "    U+0416 \"\xD0\x96\":\n      ru.txt:2: \"\xD0\x96\xC3\x9F\"\n"
       "  font block 2 (Greek): every string fits\n"},
      // Every --font and every --strings, in the order given; a character
      // is listed with each string it is in.
      {"--strings ab.txt --strings el.txt --font Greek --font 0", 1,
       "\nStrings \"ab.txt\": 2 lines, 5 characters\n"
       "  font block 2 (Greek): 2 characters fall to the default character:\n"
       "    U+0041 \"A\":\n      ab.txt:1: \"ABA\"\n      ab.txt:2: \"AB\"\n"
       "    U+0042 \"B\":\n      ab.txt:1: \"ABA\"\n      ab.txt:2: \"AB\"\n"
       "  font block 0 (Prop): every character\n"
       "\nStrings \"el.txt\": 2 lines, 3 characters\n"
       "  1 mark has no composed form, which the display draws as a symbol of its own:\n"
       "    el.txt:2: \"\xCE\xB9\xCC\x83\": U+03B9 U+0303\n"
       "  font block 2 (Greek): 2 characters fall to the default character:\n"
       "    U+0303 \"\xCC\x83\":\n      el.txt:2: \"\xCE\xB9\xCC\x83\"\n"
       "    U+03AF \"\xCE\xAF\":\n      el.txt:1: \"\xCE\xB9\xCC\x81\"\n"
       "  font block 0 (Prop): 3 characters fall to the default character:\n"
       "    U+0303 \"\xCC\x83\":\n      el.txt:2: \"\xCE\xB9\xCC\x83\"\n"
       "    U+03AF \"\xCE\xAF\":\n      el.txt:1: \"\xCE\xB9\xCC\x81\"\n"
       "    U+03B9 \"\xCE\xB9\":\n      el.txt:2: \"\xCE\xB9\xCC\x83\"\n"},
  };
  for (const auto& c : cases) {
    const RunResult r = run_inspect_exe(dir.path(), std::string("ui.bin ") + c.args);
    EXPECT_EQ(r.status, c.status) << c.args;
    const char* last = c.status == 0 ? "\nNo problems found\n" : kStringsFail;
    EXPECT_EQ(r.out, head + c.out + last) << c.args;
  }
  // Without --png nothing is drawn.
  for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
    EXPECT_NE(entry.path().extension(), ".png") << entry.path();
}

TEST(InspectStringsCheck, QuietFindingsAndCommandLineErrors) {
  const TempDir dir;
  make_fonts(dir);
  RunResult r =
      run_inspect_exe(dir.path(), "ui.bin --strings ru.txt --font Bars:CP1251 --font 0 --quiet");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out,
            "ru.txt:2: error: \"\xD0\x96\xC3\x9F\": U+00DF \"\xC3\x9F\" is not in the code page of "
            "font block 1 (Bars, CP1251)\n"
            "ru.txt:2: error: \"\xD0\x96\xC3\x9F\": U+0416 \"\xD0\x96\" falls to the default "
            "character of font block 1 (Bars, CP1251)\n"
            "ru.txt:2: error: \"\xD0\x96\xC3\x9F\": U+00DF \"\xC3\x9F\" falls to the default "
            "character of font block 0 (Prop)\n"
            "ru.txt:1: error: \"\xD0\x90\xD0\x91\": U+0410 \"\xD0\x90\" falls to the default "
            "character of font block 0 (Prop)\n"
            "ru.txt:1: error: \"\xD0\x90\xD0\x91\": U+0411 \"\xD0\x91\" falls to the default "
            "character of font block 0 (Prop)\n"
            "ru.txt:2: error: \"\xD0\x96\xC3\x9F\": U+0416 \"\xD0\x96\" falls to the default "
            "character of font block 0 (Prop)\n");
  r = run_inspect_exe(dir.path(), "ui.bin --strings ab.txt --font Prop --quiet --max-width 9");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "");

  const struct {
    const char* args;
    const char* out;
    bool usage;
  } errors[] = {
      {"--json j.json", "--json needs --strings", true},
      {"--max-lines 2", "--max-lines needs --strings", true},
      {"--spacing 1", "--spacing needs --text or --strings", true},
      {"--strings ab.txt --max-width 0",
       "option --max-width needs a number from 1 to 65535, not \"0\"", true},
      {"--strings ab.txt --spacing 1 --spacing 2", "option --spacing is given twice", true},
      {"--strings ab.txt --font 0:", "--font \"0:\" names no encoding after the colon", true},
      {"--font 0:CP1251 --png a.png", "an encoding after --font needs --text or --strings", true},
      {"--strings ab.txt --font 0:NOPE",
       "unknown encoding \"NOPE\" (iconv -l lists the code pages)", true},
      {"--strings ab.txt --png a.png --json a.png", "--json and --png name the same file", true},
      {"--strings ab.txt --font 0 --font Prop", "--font names font block 0 twice", true},
      {"--strings ab.txt --font 0 --font 7",
       "there is no font block 7; the image has 3 (numbered "
       "from 0)",
       false},
      {"--strings ab.txt --strings none.txt --quiet",
       "cannot read \"none.txt\": No such file or directory", false},
  };
  for (const auto& e : errors) {
    r = run_inspect_exe(dir.path(), std::string("ui.bin ") + e.args);
    EXPECT_EQ(r.status, 2) << e.args;
    const std::string want = std::string("tralk-inspect: ") + e.out + "\n" +
                             (e.usage ? "Try \"tralk-inspect --help\".\n" : "");
    EXPECT_EQ(r.out.substr(r.out.size() - std::min(r.out.size(), want.size())), want) << e.args;
  }
}

// The JSON as Python's own reader takes it: each finding's fields, in order.
TEST(InspectStringsCheck, JsonReadByPython) {
  if (!std::filesystem::exists("/usr/bin/python3")) GTEST_SKIP() << "needs /usr/bin/python3";
  const TempDir dir;
  make_fonts(dir);
  dir.write("digest.py",
            "import json, sys\n"
            "d = json.load(open(sys.argv[1]) if sys.argv[1] != '-' else sys.stdin)\n"
            "print(d['image'], [(f['block'], f['name'], f['encoding']) for f in d['fonts']])\n"
            "print([(f['file'], f['strings'], f['characters']) for f in d['files']])\n"
            "for f in d['findings']:\n"
            "    extra = [(k, f[k]) for k in ('code', 'character', 'sequence', 'width', 'limit',\n"
            "             'unit') if k in f]\n"
            "    print(f['kind'], f['file'], f['line'], f['key'], f['text'] == f['key'],\n"
            "          f['font'], extra)\n"
            "print(d['findings'][0]['message'])\n"
            "print(d['problems'])\n");
  const std::string args =
      "ui.bin --strings el.txt --strings ab.txt --font Greek --font Bars:CP1251"
      " --max-width 10 --spacing 1";
  RunResult r = run_inspect_exe(dir.path(), args + " --json out.json");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("\nStrings \"ab.txt\""), std::string::npos) << r.out;
  const char kDigest[] =
      "ui.bin [(2, 'Greek', 'unicode'), (1, 'Bars', 'CP1251')]\n"
      "[('el.txt', 2, 3), ('ab.txt', 2, 5)]\n"
      "undrawable el.txt 2 \xCE\xB9\xCC\x83 True None [('sequence', [953, 771])]\n"
      "missing el.txt 2 \xCE\xB9\xCC\x83 True 2 [('code', 771), ('character', '\xCC\x83')]\n"
      "missing el.txt 1 \xCE\xB9\xCC\x81 False 2 [('code', 943), ('character', '\xCE\xAF')]\n"
      "not_in_code_page el.txt 2 \xCE\xB9\xCC\x83 True 1 [('code', 771), ('character', "
      "'\xCC\x83')]\n"
      "not_in_code_page el.txt 1 \xCE\xB9\xCC\x81 False 1 [('code', 943), ('character', "
      "'\xCE\xAF')]\n"
      "not_in_code_page el.txt 2 \xCE\xB9\xCC\x83 True 1 [('code', 953), ('character', "
      "'\xCE\xB9')]\n"
      "missing ab.txt 1 ABA True 2 [('code', 65), ('character', 'A')]\n"
      "missing ab.txt 2 AB True 2 [('code', 65), ('character', 'A')]\n"
      "missing ab.txt 1 ABA True 2 [('code', 66), ('character', 'B')]\n"
      "missing ab.txt 2 AB True 2 [('code', 66), ('character', 'B')]\n"
      "missing ab.txt 1 ABA True 1 [('code', 65), ('character', 'A')]\n"
      "missing ab.txt 2 AB True 1 [('code', 65), ('character', 'A')]\n"
      "missing ab.txt 1 ABA True 1 [('code', 66), ('character', 'B')]\n"
      "missing ab.txt 2 AB True 1 [('code', 66), ('character', 'B')]\n"
      "too_wide ab.txt 1 ABA True 1 [('width', 11), ('limit', 10), ('unit', 'pixel')]\n"
      "\"\xCE\xB9\xCC\x83\": U+03B9 U+0303 is a mark with no composed form, which the display "
      "draws as a symbol of its own\n"
      "[]\n";
  const std::string digest = shell_quote("/usr/bin/python3") + " digest.py ";
  r = run_command(dir.path(), digest + "out.json");
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.out, kDigest);
  // "-": the JSON alone on standard output.
  r = run_command(dir.path(), "(" + shell_quote(TRALK_INSPECT_EXE) + " " + args + " --json - | " +
                                  digest + "-)");
  EXPECT_EQ(r.out, kDigest);
}

// One spacing rule for --text and --strings, in the terminal and in the
// pictures, where --strings --png marks the strings that do not fit.
TEST(InspectStringsCheck, SpacingDrawnAndMarked) {
  const TempDir dir;
  make_fonts(dir);
  RunResult r = run_inspect_exe(
      dir.path(), "ui.bin --font Prop --text \"$(printf 'AB\\nB')\" --spacing 1 --line-height 3");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("\n## #####\n## #####\n\n#####\n#####\n3 characters"), std::string::npos)
      << r.out;
  r = run_inspect_exe(dir.path(), "ui.bin --font Prop --text AB --spacing 1 --png t.png --scale 1");
  EXPECT_NE(r.out.find("\nText picture \"t.png\": 24 x 18 pixels, scale 1;"), std::string::npos)
      << r.out;

  r = run_inspect_exe(dir.path(),
                      "ui.bin --strings ab.txt --font Prop --spacing 2 --max-width 12 "
                      "--png s.png --scale 1");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("\nStrings picture \"s.png\": 39 x 37 pixels, scale 1\n"), std::string::npos)
      << r.out;
  const std::string png = TempDir::read(dir / "s.png");
  const RgbPicture img = decode_png(png.data(), png.size());
  const uint32_t m = kSheetMargin, first = m + 9 + kSheetLabelGap, second = first + 2 + kSheetGap;
  // "ABA": a bar in the margin, the limit at 12, the gaps of 2 as paper.
  EXPECT_TRUE(img.at(2, first) == kFellBackMark && img.at(5, first + 1) == kFellBackMark);
  EXPECT_TRUE(img.at(m + 12, first) == kFellBackMark);
  EXPECT_TRUE(img.at(m + 2, first) == kSheetBackground);
  EXPECT_TRUE(img.at(m + 4, first) == (RGBTRIPLET{0, 0, 0}));  // B after A and 2 of spacing
  // "AB" fits: no bar.
  EXPECT_TRUE(img.at(2, second) == kSheetBackground);
}

// Translation catalogues: strings named by their msgid, JSON key or unit
// id; comments, contexts, keys and placeholders select nothing; XLIFF's own
// limits; a .mo file's strings by their bytes.
TEST(InspectStringsCheck, CatalogueStringsByTheirKeys) {
  const TempDir dir;
  make_fonts(dir);
  dir.write("de.po",
            "# translator comment: \xD0\x96\n"
            "msgid \"\"\nmsgstr \"\"\n\"Content-Type: text/plain; charset=UTF-8\\n\"\n\n"
            "msgctxt \"\xD0\x96\"\nmsgid \"AB\"\nmsgstr \"ABC\"\n\n"
            "#, c-format\nmsgid \"BA%d\"\nmsgstr \"ABABAB%d\"\n\n"
            "msgid \"B\"\nmsgstr \"AB\\nBA\\nA\"\n");
  dir.write("ui.json",
            "{\n  \"menu\": {\n    \"title\": \"AC\"\n  },\n  \"n\": \"{{count}}B\"\n}\n");
  dir.write("ui.xlf",
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<xliff version=\"1.2\" xmlns=\"urn:oasis:names:tc:xliff:document:1.2\">\n"
            " <file source-language=\"en\" target-language=\"de\" datatype=\"plaintext\" "
            "original=\"ui\">\n  <body>\n"
            "   <trans-unit id=\"wide\" maxwidth=\"8\" size-unit=\"pixel\">\n"
            "    <source>AB</source>\n    <target>ABA</target>\n   </trans-unit>\n"
            "   <trans-unit id=\"short\" maxwidth=\"2\" size-unit=\"char\">\n"
            "    <source>AB</source>\n    <target>ABA</target>\n   </trans-unit>\n"
            "  </body>\n </file>\n</xliff>\n");
  // "ABABAB": 3 x (2 + 5) = 21 pixels, over 16; "AB\nBA\nA": 3 lines.
  RunResult r = run_inspect_exe(dir.path(),
                                "ui.bin --strings de.po --strings ui.json --strings "
                                "ui.xlf --font Prop --max-width 16 --max-lines 2");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, table(dir) +
                       "\nStrings \"de.po\": 6 strings, 19 characters\n"
                       "  font block 0 (Prop): 1 character falls to the default character:\n"
                       "    U+0043 \"C\":\n      de.po:8: \"AB\"\n"
                       "  font block 0 (Prop): 1 string wider than its limit:\n"
                       "    de.po:12: \"BA%d\": 21 pixels, limit 16\n"
                       "  font block 0 (Prop): 1 string of more lines than its limit:\n"
                       "    de.po:15: \"B\": 3 lines, 6 pixels high, limit 2\n"
                       "\nStrings \"ui.json\": 2 strings, 3 characters\n"
                       "  font block 0 (Prop): 1 character falls to the default character:\n"
                       "    U+0043 \"C\":\n      ui.json:3: \"menu.title\"\n"
                       "  font block 0 (Prop): every string fits\n"
                       "\nStrings \"ui.xlf\": 4 strings, 10 characters\n"
                       "  1 string is longer than its limit in characters:\n"
                       "    ui.xlf:11: \"short\": 3 characters, limit 2\n"
                       "  font block 0 (Prop): every character\n"
                       "  font block 0 (Prop): 1 string wider than its limit:\n"
                       "    ui.xlf:7: \"wide\": 9 pixels, limit 8\n" +
                       kStringsFail);
  if (run_command(dir.path(), "command -v msgfmt >/dev/null").status != 0)
    GTEST_SKIP() << "needs msgfmt (Debian: gettext) for a .mo file";
  ASSERT_EQ(run_command(dir.path(), "msgfmt -o de.mo de.po").status, 0);
  // The string is named by the byte where msgfmt put it.
  const size_t at = TempDir::read(dir / "de.mo").find(std::string("ABC\0", 4));
  ASSERT_NE(at, std::string::npos);
  r = run_inspect_exe(dir.path(), "ui.bin --strings de.mo --font Prop --quiet");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "de.mo: error: byte " + std::to_string(at) +
                       ": \"AB\": U+0043 \"C\" falls to the default character of font block 0 "
                       "(Prop)\n");
}

// Limits that only catalogues carry (a string's own width, line breaks),
// on the check itself.
TEST(InspectStringsCheck, OwnLimitsAndLines) {
  const auto font = inspect_test::make_font(
      0, 2, {4, 2, 5}, {{0xF0, 0xF0}, {0xC0, 0xC0}, {0xF8, 0xF8}}, {{63, 63, 0}, {65, 66, 1}}, 63);
  const InspectResult result = inspect_test::inspect(inspect_test::build_image({font.get()}));
  using tralk::text::WidthLimit;
  using tralk::text::WidthUnit;
  tralk::text::Catalogue cat{"c.xlf", tralk::text::CatalogueFormat::plain, {}};
  cat.strings = {
      {"AB\nABA", "two", 3, std::nullopt},                       // 9 wide, 2 lines
      {"ABA", "chars", 5, WidthLimit{2, WidthUnit::character}},  // 3 characters
      {"AB", "own", 7, WidthLimit{8, WidthUnit::pixel}},         // 7: fits its own limit
      {"AB", "tight", 9, WidthLimit{6, WidthUnit::pixel}},
  };
  const struct {
    FitLimits limits;
    std::vector<std::tuple<FindingKind, size_t, uint64_t, uint64_t, uint32_t>> want;
  } cases[] = {
      {{5, std::nullopt, {}},
       {{FindingKind::too_wide, 1, 3, 0, 2},
        {FindingKind::too_wide, 0, 9, 0, 5},
        {FindingKind::too_wide, 3, 7, 0, 6}}},
      {{std::nullopt, 1, {0, 3}},
       {{FindingKind::too_wide, 1, 3, 0, 2},
        {FindingKind::too_wide, 3, 7, 0, 6},
        {FindingKind::too_many_lines, 0, 2, 5, 1}}},
      {{std::nullopt, 2, {1, std::nullopt}},
       {{FindingKind::too_wide, 1, 3, 0, 2}, {FindingKind::too_wide, 3, 8, 0, 6}}},
  };
  for (const auto& c : cases) {
    const auto check =
        check_strings(result, {cat}, {{0, std::nullopt, "", "font block 0"}}, c.limits);
    ASSERT_TRUE(check.ok()) << check.error();
    std::vector<std::tuple<FindingKind, size_t, uint64_t, uint64_t, uint32_t>> got;
    for (const Finding& f : check->findings)
      got.emplace_back(f.kind, f.string, f.size, f.height, f.limit);
    EXPECT_EQ(got, c.want);
    EXPECT_TRUE(check->files[0].fit_checked);
  }
}

}  // namespace
