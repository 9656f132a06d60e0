// Plain UTF-8 text: one string a line.
#include <algorithm>

#include "cli/utf8.h"
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
    // (find_first_of would search its set a byte at a time.)
    const auto line_end =
        std::find_if(bytes.begin(), bytes.end(), [](char c) { return c == '\n' || c == '\r'; });
    const size_t end = line_end == bytes.end() ? std::string_view::npos
                                               : static_cast<size_t>(line_end - bytes.begin());
    const std::string_view line = bytes.substr(0, end);
    ++number;
    if (end == std::string_view::npos) {
      bytes = {};
    } else {
      bytes.remove_prefix(bytes.compare(end, 2, "\r\n") == 0 ? end + 2 : end + 1);
    }
    if (line.empty()) continue;
    if (!cli::is_utf8(line)) return not_utf8(name, number);
    (void)add_message(cat, line, Placeholders::none, {line, number, 0, std::nullopt});
  }
  return cat;
}

}  // namespace tralk::text
