#include "fonts/cp_load.h"

#include <new>

#include "driver/console.h"
#include "driver/fileio.h"
#include "fonts/textscan.h"

namespace {

// "{" value "," value "," value "}", appended to ranges.
bool parse_range(std::vector<uint16_t>& ranges) {
  uint16_t v[3] = {};
  if (!scan_expect('{') || !scan_u16(v[0]) || !scan_expect(',') || !scan_u16(v[1]) ||
      !scan_expect(',') || !scan_u16(v[2]) || !scan_expect('}'))
    return false;
  ranges.insert(ranges.end(), {v[0], v[1], v[2]});
  return true;
}

// "{" numranges "," defchar "}" "," "{" range list. The ranges read must
// match the stored count, so the table can be written as it stands.
bool parse_codepage(CPTABLE& table) {
  if (!scan_expect('{') || !scan_u16(table.numranges) || !scan_expect(',') ||
      !scan_u16(table.defchar) || !scan_expect('}') || !scan_expect(',') || !scan_expect('{'))
    return false;
  ListStep step;
  do {
    if (!parse_range(table.ranges)) return false;
    step = scan_list_step();
  } while (step == ListStep::next);
  // A file that ends inside a comment has lost whatever the comment hid.
  return step == ListStep::end && !lex_comment_unclosed() &&
         table.ranges.size() == 3u * table.numranges;
}

// Prints the message of a failure and returns none.
std::unique_ptr<CPTABLE> read_codepage(const char* path) {
  FilePtr file = file_open(path, "rb");
  if (!file) {
    con_printf("\n Open error");
    return nullptr;
  }
  file_skip_bom(file.get());
  LexSession lex(file.get());
  auto table = std::make_unique<CPTABLE>();
  if (!parse_codepage(*table)) {
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
