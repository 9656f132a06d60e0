// Catalogues as symbols files, through the real program and a real CMake
// build: a .po and a JSON file select exactly the characters their strings
// show, as --symbols of those characters does.
#include <gtest/gtest.h>

#include <filesystem>

#include "import/import_helpers.h"

namespace fs = std::filesystem;

namespace {

using import_test::kDejaVuSans;
using import_test::run_import;

// Comments, the header, a context, flags, an obsolete entry, printf's
// conversions, escapes, plural forms and decomposed text.
const char kPo[] =
    "# Kommentar XYZ\n"
    "msgid \"\"\n"
    "msgstr \"\"\n"
    "\"Content-Type: text/plain; charset=UTF-8\\n\"\n"
    "\n"
    "#. Hinweis\n"
    "#: ui.c:12\n"
    "#, c-format\n"
    "msgctxt \"KK\"\n"
    "msgid \"Open %s\"\n"
    "msgstr \"\xC3\x96"
    "ffnen\\t%1$s\"\n"
    "\n"
    "msgid \"%d file\"\n"
    "msgid_plural \"%d files\"\n"
    "msgstr[0] \"%d Datei\"\n"
    "msgstr[1] \"%d \"\n"
    "\"Dateien\"\n"
    "\n"
    "msgid \"a\\\"b\"\n"
    "msgstr \"\\x41\\n\"\n"
    "\n"
    "msgid \"100%%\"\n"
    "msgstr \"\xCE\xA1\xCF\x85\xCE\xB8\xCE\xBC\xCE\xB9\xCC\x81\xCF\x83\xCE\xB5\xCE\xB9\xCF\x82 "
    "q\xCC\x83\"\n"
    "\n"
    "#~ msgid \"Zzz\"\n"
    "#~ msgstr \"Www\"\n";

// Keys, numbers, i18next's interpolation and an ICU plural.
const char kJson[] = R"({
  "menu": {"title": "Menü", "count": "{{count}} Einträge", "size": 12},
  "cart": "{n, plural, one {# Ding} other {# Dinge}}",
  "list": ["Ja", "Nein"]
})";

// What the strings show, in code order: the space, ", %, 0, 1, A, D, E, J,
// M, N, O, a, b, e, f, g, i, l, n, p, q, r, s, t, Ö, ä, ü, U+0303, and
// Ρυθμίσεις's letters with ί composed.
const char kShown[] =
    " \"%01ADEJMNOabefgilnpqrst\xC3\x96\xC3\xA4\xC3\xBC\xCC\x83"
    "\xCE\xA1\xCF\x85\xCE\xB8\xCE\xBC\xCE\xAF\xCF\x83\xCE\xB5\xCE\xB9\xCF\x82";

// The text with from replaced by to.
std::string with_line(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  if (at == std::string::npos) return "(no " + from + ")";
  return text.replace(at, from.size(), to);
}

TEST(CatalogueImport, SelectsWhatSymbolsOfTheShownCharactersSelects) {
  TempDir catalogues, symbols;
  catalogues.write("de.po", kPo);
  catalogues.write("ui.json", kJson);
  const std::string font = "font " + std::string(kDejaVuSans) + " --size 12 ";
  const RunResult from_files =
      run_import(catalogues.path(), font + "--symbols-file de.po --symbols-file ui.json -o f.sym");
  ASSERT_EQ(from_files.status, 0) << from_files.out;
  const RunResult from_symbols =
      run_import(symbols.path(), font + "--symbols '" + kShown + "' -o f.sym");
  ASSERT_EQ(from_symbols.status, 0) << from_symbols.out;

  const std::string options_given = "Options: --size 12 --symbols \"" + std::string(kShown) + "\"";
  const std::string options_files =
      "Options: --size 12 --symbols-file \"de.po\" --symbols-file \"ui.json\"";
  const std::string note =
      "note: line 23 of \"de.po\" (\"100%%\"): U+0071 U+0303 has no composed form; the display "
      "draws the mark as a symbol of its own\n";
  std::string expected = with_line(from_symbols.out, options_given, options_files);
  expected.insert(expected.find("Wrote"), note);
  EXPECT_EQ(from_files.out, expected);
  // The 38 characters, and the font's U+FFFD for the default character.
  EXPECT_NE(from_symbols.out.find("\n39 symbols, "), std::string::npos) << from_symbols.out;
  EXPECT_EQ(TempDir::read(catalogues.file("f.sym")),
            with_line(TempDir::read(symbols.file("f.sym")), "// " + options_given,
                      "// " + options_files));
  EXPECT_EQ(TempDir::read(catalogues.file("f.cp")), TempDir::read(symbols.file("f.cp")));
}

// The codes of a .sym file, from the comment of each symbol.
std::string sym_codes(const std::string& sym) {
  std::string codes;
  for (size_t at = 0; (at = sym.find("// 0x", at)) != std::string::npos; at += 5)
    codes += sym.substr(at + 3, 6) + " ";
  return codes;
}

// tralk_import_font's SYMBOLS_FILE takes a .po file, and the import runs
// again when it changes.
TEST(CatalogueImport, CMakeSymbolsFileTakesACatalogue) {
  if (!fs::exists("/usr/bin/ninja")) GTEST_SKIP() << "ninja (Debian ninja-build) is not installed";
  TempDir dir;
  dir.write(
      "CMakeLists.txt",
      "cmake_minimum_required(VERSION 3.20)\n"
      "project(fw NONE)\n"
      "add_executable(tralk::tralk IMPORTED)\n"
      "set_target_properties(tralk::tralk PROPERTIES IMPORTED_LOCATION \"" TRALK_EXE
      "\")\n"
      "add_executable(tralk::tralk-import IMPORTED)\n"
      "set_target_properties(tralk::tralk-import PROPERTIES IMPORTED_LOCATION \"" TRALK_IMPORT_EXE
      "\")\n"
      "include(\"" TRALK_CMAKE_MODULES
      "/TralkImport.cmake\")\n"
      "tralk_import_font(ui FONT " +
          std::string(kDejaVuSans) + " SIZE 12 RANGES 0x3F SYMBOLS_FILE strings/de.po)\n");
  dir.write("strings/de.po", "msgctxt \"x\"\nmsgid \"Ab\"\nmsgstr \"\xC3\x84\"\n");
  const std::string cmake = shell_quote(TRALK_CMAKE_COMMAND);
  RunResult r = run_command(dir.path(), cmake + " -S . -B build -G Ninja 2>&1");
  ASSERT_EQ(r.status, 0) << r.out;
  const std::string build = cmake + " --build build --target tralk_import_ui 2>&1";
  r = run_command(dir.path(), build);
  ASSERT_EQ(r.status, 0) << r.out;
  const std::string sym = dir.file("build/tralk-inputs/ui.sym");
  EXPECT_EQ(sym_codes(TempDir::read(sym)), "0x003F 0x0041 0x0062 0x00C4 ");

  // A change of the catalogue imports again; then nothing is left to do.
  dir.write("strings/de.po", "msgid \"Ab\"\nmsgstr \"\xC3\x84 c\"\n");
  r = run_command(dir.path(), build);
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("Importing ui with tralk-import"), std::string::npos) << r.out;
  EXPECT_EQ(sym_codes(TempDir::read(sym)), "0x0020 0x003F 0x0041 0x0062 0x0063 0x00C4 ");
  r = run_command(dir.path(), build);
  EXPECT_NE(r.out.find("ninja: no work to do."), std::string::npos) << r.out;
}

}  // namespace
