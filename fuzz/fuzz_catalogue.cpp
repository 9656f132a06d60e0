// Fuzzes the catalogue readers on bytes in memory: the first byte picks the
// file's name (and so, with the rest, its format), the rest is the file.
// Every string read must be well-formed NFC UTF-8 with a sound place and
// key; every failure must name the file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "cli/utf8.h"
#include "fuzz_support.h"
#include "text/catalogue.h"
#include "text/normalise.h"

namespace {

const char* const kNames[] = {"de.txt", "de.po",   "de.pot", "de.mo",  "de.ts",
                              "de.xlf", "de.json", "de.arb", "strings"};

void check_string(const tralk::text::DisplayString& s, std::string_view bytes, bool mo) {
  fuzz::check(!s.text.empty(), "an empty string was kept");
  fuzz::check(tralk::cli::utf8_decode(s.text).has_value(), "a string is not UTF-8");
  fuzz::check(tralk::text::to_nfc(s.text) == s.text, "a string is not in NFC");
  fuzz::check(tralk::cli::utf8_decode(s.key).has_value(), "a key is not UTF-8");
  fuzz::check(s.key.size() <= tralk::text::kMaxKeyBytes, "a key is longer than the limit");
  if (mo) {
    fuzz::check(s.line == 0 && s.offset < bytes.size(), "a .mo string's place is wrong");
  } else {
    // Lines end in LF, CR LF or CR; XML counts CR LF once.
    size_t lines = 1;
    for (const char c : bytes) lines += c == '\n' || c == '\r';
    fuzz::check(s.line >= 1 && s.line <= lines, "a string's line is outside the file");
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::detach_stdin();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string name = kNames[data[0] % std::size(kNames)];
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  const tralk::text::CatalogueFormat format = tralk::text::recognise_format(name, bytes);
  const Outcome<tralk::text::Catalogue> cat = tralk::text::parse_catalogue(name, bytes);
  if (!cat.ok()) {
    fuzz::check(cat.error().find("\"" + name + "\"") != std::string::npos,
                "a failure does not name the file");
    return 0;
  }
  fuzz::check(cat->name == name && cat->format == format,
              "the catalogue's name or format is wrong");
  for (const tralk::text::DisplayString& s : cat->strings)
    check_string(s, bytes, format == tralk::text::CatalogueFormat::mo);
  return 0;
}
