#include "import/fonts/symbols_file.h"

#include <string_view>

#include "base/fileio.h"
#include "base/text.h"
#include "cli/utf8.h"

namespace tralk::importer {

Outcome<std::string> read_symbols_file(const std::string& path) {
  const Outcome<FileBytes> file = read_whole_file(path);
  if (!file.ok())
    return Failure{file.failure().code,
                   "cannot read symbols file " + in_quotes(path) + ": " + file.failure().text};
  std::string_view text(reinterpret_cast<const char*>(file->data()), file->size);
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  std::string chars;
  size_t line_number = 1;
  while (!text.empty()) {
    const size_t end = text.find_first_of("\r\n");
    const std::string_view line = text.substr(0, end);
    if (!cli::utf8_decode(line))
      return Failure{Fault::format, "symbols file " + in_quotes(path) +
                                        " is not UTF-8 text: line " + std::to_string(line_number)};
    // Tabs and other control characters are layout, never drawn (C
    // sources and .po files are full of tabs); each is one byte in UTF-8.
    for (char c : line)
      if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) chars += c;
    if (end == std::string_view::npos) break;
    // CR LF is one line end.
    const size_t next = text.compare(end, 2, "\r\n") == 0 ? end + 2 : end + 1;
    text.remove_prefix(next);
    ++line_number;
  }
  return chars;
}

}  // namespace tralk::importer
