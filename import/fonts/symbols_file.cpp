#include "import/fonts/symbols_file.h"

#include <optional>
#include <string_view>
#include <vector>

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
  // Each character's first sight: whether it is a mark, looked up once.
  enum : uint8_t { unseen, seen, seen_mark };
  std::vector<uint8_t> state(0x110000, unseen);
  for (const text::DisplayString& s : cat->strings) {
    bool has_mark = false;
    // The readers give well-formed UTF-8.
    for (size_t at = 0; at < s.text.size();) {
      const size_t start = at;
      char32_t c = static_cast<unsigned char>(s.text[at]);
      if (c < 0x80) {
        ++at;  // most characters are ASCII
      } else if (const std::optional<char32_t> decoded = cli::utf8_next(s.text, at)) {
        c = *decoded;
      } else {
        break;
      }
      if (c < 0x20 || c == 0x7F) continue;
      if (state[c] == unseen) {
        state[c] = text::is_mark(c) ? seen_mark : seen;
        out.chars.append(s.text, start, at - start);
      }
      has_mark = has_mark || state[c] == seen_mark;
    }
    if (!has_mark) continue;
    for (const std::u32string& sequence : text::uncomposed_sequences(s.text))
      out.notes.push_back(uncomposed_note(cat.value(), s, sequence));
  }
  return out;
}

}  // namespace tralk::importer
