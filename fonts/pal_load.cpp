#include "fonts/pal_load.h"

#include <new>

#include "driver/console.h"
#include "driver/fileio.h"
#include "driver/path.h"
#include "fonts/textscan.h"

namespace {

// "{" grey "}" or "{" red "," green "," blue "}".
bool parse_entry(RGBTRIPLET& entry) {
  if (!scan_expect('{') || !scan_u8(entry.r)) return false;
  const int c = lex_skip();
  if (c == '}') {
    entry.g = entry.b = entry.r;
    return true;
  }
  return c == ',' && scan_u8(entry.g) && scan_expect(',') && scan_u8(entry.b) && scan_expect('}');
}

// "{" entry list; entries past the 256th are left unread.
bool parse_palette(std::vector<RGBTRIPLET>& entries) {
  if (!scan_expect('{')) return false;
  for (;;) {
    RGBTRIPLET entry;
    if (!parse_entry(entry)) return false;
    entries.push_back(entry);
    const ListStep step = scan_list_step();
    if (step == ListStep::error) return false;
    if (step == ListStep::end || entries.size() == kMaxPaletteEntries) break;
  }
  // A file that ends inside a comment has lost whatever the comment hid.
  return !lex_comment_unclosed();
}

// Prints the message of a failure and returns none.
PalTablePtr read_palette(const char* path) {
  FilePtr file = file_open(path, "rb");
  if (!file) {
    con_printf("\n Open error");
    return nullptr;
  }
  file_skip_bom(file.get());
  LexSession lex(file.get());
  auto table = std::make_unique<PALTABLE>();
  if (!parse_palette(table->entries)) {
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
