#include "fonts/pal_load.h"

#include <new>

#include "base/console.h"
#include "driver/path.h"
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

// Prints the message of a failure and returns none.
PalTablePtr read_palette(const char* path) {
  const std::optional<TextFile> text = read_text_file(path);
  if (!text) {
    con_printf("\n Open error");
    return nullptr;
  }
  Tokens tokens(*text);
  auto table = std::make_unique<PALTABLE>();
  if (!parse_palette(tokens, table->entries)) {
    con_printf("\n Syntax error");
    return nullptr;
  }
  return table;
}

}  // namespace

PalTablePtr pal_load(const char* path, std::string* name_out, uint32_t* count_out) {
  if (!path) return nullptr;
  try {
    if (auto table = read_palette(path)) {
      // Everything that can fail comes before the first output is written.
      std::string name = name_out ? path_ident(path) : std::string();
      if (name_out) *name_out = std::move(name);
      if (count_out) *count_out = static_cast<uint32_t>(table->entries.size());
      return table;
    }
  } catch (const std::bad_alloc&) {
    con_printf("\n Heap error");
  }
  con_printf(" in pal file \"%s\"", path);
  return nullptr;
}
