#include "fonts/cp_load.h"

#include <new>

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

}  // namespace

Outcome<CPTABLE> cp_load(TextBytes text) {
  try {
    Tokens tokens(text);
    CPTABLE table;
    if (!parse_codepage(tokens, table)) {
      Failure failed{Fault::format, ""};
      failed.at.line = tokens.line();
      return failed;
    }
    return table;
  } catch (const std::bad_alloc&) {
    return Failure{Fault::too_large, ""};
  }
}
