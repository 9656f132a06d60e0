#include "fonts/pal_load.h"

#include <new>

#include "base/console.h"
#include "base/path.h"
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

Outcome<PALTABLE> pal_read(const char* path) {
  try {
    const std::optional<TextFile> text = read_text_file(path);
    if (!text) return Failure{Fault::io, "Open error"};
    Tokens tokens(*text);
    PALTABLE table;
    if (!parse_palette(tokens, table.entries)) return Failure{Fault::format, "Syntax error"};
    return table;
  } catch (const std::bad_alloc&) {
    return Failure{Fault::too_large, "Heap error"};
  }
}

PalTablePtr pal_load(const char* path, std::string* name_out, uint32_t* count_out) {
  if (!path) return nullptr;
  Outcome<PALTABLE> read = pal_read(path);
  std::string failed = read.ok() ? std::string() : read.error();
  if (read.ok()) {
    try {
      auto table = std::make_unique<PALTABLE>(std::move(read.value()));
      // Everything that can fail comes before the first output is written.
      std::string name = name_out ? path_ident(path) : std::string();
      if (name_out) *name_out = std::move(name);
      if (count_out) *count_out = static_cast<uint32_t>(table->entries.size());
      return table;
    } catch (const std::bad_alloc&) {
      failed = "Heap error";
    }
  }
  con_printf("\n %s in pal file \"%s\"", failed.c_str(), path);
  return nullptr;
}
