#include "fonts/pal_load.h"

#include <new>

#include "fonts/textscan.h"

namespace {

// "{" grey "}" or "{" red "," green "," blue "}".
bool parse_entry(Tokens& t, RGBTRIPLET& entry) {
  if (!t.expect('{') || !t.u8(entry.r)) return false;
  const int c = t.skip();
  if (c == '}') {
    entry.g = entry.b = entry.r;
    return true;
  }
  return c == ',' && t.u8(entry.g) && t.expect(',') && t.u8(entry.b) && t.expect('}');
}

// "{" entry list; entries past the 256th are left unread.
bool parse_palette(Tokens& t, std::vector<RGBTRIPLET>& entries) {
  if (!t.expect('{')) return false;
  for (;;) {
    RGBTRIPLET entry;
    if (!parse_entry(t, entry)) return false;
    entries.push_back(entry);
    const ListStep step = t.list_step();
    if (step == ListStep::error) return false;
    if (step == ListStep::end || entries.size() == kMaxPaletteEntries) break;
  }
  // A file that ends inside a comment has lost whatever the comment hid.
  return !t.ended_in_comment();
}

}  // namespace

Outcome<PALTABLE> pal_load(TextBytes text) {
  try {
    Tokens tokens(text);
    PALTABLE table;
    if (!parse_palette(tokens, table.entries)) {
      Failure failed{Fault::format, ""};
      failed.at.line = tokens.line();
      return failed;
    }
    return table;
  } catch (const std::bad_alloc&) {
    return Failure{Fault::too_large, ""};
  }
}
