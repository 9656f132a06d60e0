#include "import/fonts/symbols_file.h"

#include <string_view>
#include <unordered_set>

#include "base/text.h"
#include "cli/utf8.h"
#include "text/catalogue.h"
#include "text/normalise.h"

namespace tralk::importer {

namespace {

// "line 3 of "el.po" ("Settings"): U+03B9 U+0303 has no composed form; the
// display draws the mark as a symbol of its own"
std::string uncomposed_note(const text::Catalogue& cat, const text::DisplayString& s,
                            std::u32string_view sequence) {
  return text::place_of(cat.name, s) + " (" + in_quotes(s.key) + "): " + text::code_list(sequence) +
         " has no composed form; the display draws the mark as a symbol of its own";
}

}  // namespace

Outcome<SymbolsFile> read_symbols_file(const std::string& path) {
  const Outcome<text::Catalogue> cat = text::read_catalogue(path);
  if (!cat.ok()) return cat.failure();
  SymbolsFile out;
  std::unordered_set<char32_t> seen;
  for (const text::DisplayString& s : cat->strings) {
    // The readers give well-formed UTF-8.
    for (const char32_t c : cli::utf8_decode(s.text).value_or(std::vector<char32_t>{})) {
      if (c < 0x20 || c == 0x7F || !seen.insert(c).second) continue;
      out.chars += cli::utf8_encode(c);
    }
    for (const std::u32string& sequence : text::uncomposed_sequences(s.text))
      out.notes.push_back(uncomposed_note(cat.value(), s, sequence));
  }
  return out;
}

}  // namespace tralk::importer
