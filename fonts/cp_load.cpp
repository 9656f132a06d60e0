#include "fonts/cp_load.h"

#include <new>

#include "base/console.h"
#include "fonts/textscan.h"

namespace {

// "{" value "," value "," value "}", appended to ranges.
bool parse_range(Tokens& t, std::vector<uint16_t>& ranges) {
  uint16_t v[3] = {};
  if (!t.expect('{') || !t.u16(v[0]) || !t.expect(',') || !t.u16(v[1]) || !t.expect(',') ||
      !t.u16(v[2]) || !t.expect('}'))
    return false;
  ranges.insert(ranges.end(), {v[0], v[1], v[2]});
  return true;
}

// "{" numranges "," defchar "}" "," "{" range list. The ranges read must
// match the stored count, so the table can be written as it stands.
bool parse_codepage(Tokens& t, CPTABLE& table) {
  if (!t.expect('{') || !t.u16(table.numranges) || !t.expect(',') || !t.u16(table.defchar) ||
      !t.expect('}') || !t.expect(',') || !t.expect('{'))
    return false;
  ListStep step;
  do {
    if (!parse_range(t, table.ranges)) return false;
    step = t.list_step();
  } while (step == ListStep::next);
  // A file that ends inside a comment has lost whatever the comment hid.
  return step == ListStep::end && !t.ended_in_comment() &&
         table.ranges.size() == 3u * table.numranges;
}

// Prints the message of a failure and returns none.
std::unique_ptr<CPTABLE> read_codepage(const char* path) {
  const std::optional<TextFile> text = read_text_file(path);
  if (!text) {
    con_printf("\n Open error");
    return nullptr;
  }
  Tokens tokens(*text);
  auto table = std::make_unique<CPTABLE>();
  if (!parse_codepage(tokens, *table)) {
    con_printf("\n Syntax error");
    return nullptr;
  }
  return table;
}

}  // namespace

std::unique_ptr<CPTABLE> cp_load(const char* path) {
  if (!path) return nullptr;
  try {
    if (auto table = read_codepage(path)) return table;
  } catch (const std::bad_alloc&) {
    con_printf("\n Heap error");
  }
  con_printf(" in .cp file \"%s\"", path);
  return nullptr;
}
