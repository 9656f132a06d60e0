// Plain UTF-8 text: one string a line.
#include "text/display_text.h"
#include "text/readers.h"

namespace tralk::text {

// Line ends are LF, CR LF or CR; a byte order mark at the start and empty
// lines are left out.
Outcome<Catalogue> read_plain_text(const std::string& name, std::string_view bytes) {
  Catalogue cat{name, CatalogueFormat::plain, {}};
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  uint32_t number = 0;
  while (!bytes.empty()) {
    const size_t end = bytes.find_first_of("\r\n");
    const std::string_view line = bytes.substr(0, end);
    ++number;
    if (end == std::string_view::npos) {
      bytes = {};
    } else {
      bytes.remove_prefix(bytes.compare(end, 2, "\r\n") == 0 ? end + 2 : end + 1);
    }
    if (line.empty()) continue;
    if (!is_utf8(line)) return not_utf8(name, number);
    (void)add_message(cat, line, Placeholders::none, {line, number, 0, std::nullopt});
  }
  return cat;
}

}  // namespace tralk::text
