#include "text/catalogue.h"

#include "base/fileio.h"
#include "base/text.h"
#include "cli/utf8.h"
#include "text/normalise.h"

namespace tralk::text {

namespace {

// One string a line, in NFC; empty lines, a byte order mark and line ends
// (LF, CR LF) left out.
Outcome<Catalogue> parse_plain(const std::string& name, std::string_view bytes) {
  Catalogue cat{name, CatalogueFormat::plain, {}};
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  uint32_t number = 0;
  while (!bytes.empty()) {
    const size_t end = bytes.find('\n');
    std::string_view line = bytes.substr(0, end);
    bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
    ++number;
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.empty()) continue;
    if (!cli::utf8_decode(line))
      return Failure{Fault::format, "line " + std::to_string(number) + " of " + in_quotes(name) +
                                        " is not UTF-8 text"};
    cat.strings.push_back({to_nfc(line), std::string(line), number, std::nullopt});
  }
  return cat;
}

}  // namespace

Outcome<Catalogue> parse_catalogue(const std::string& name, std::string_view bytes) {
  return parse_plain(name, bytes);
}

Outcome<Catalogue> read_catalogue(const std::string& path) {
  const Outcome<FileBytes> file = read_whole_file(path);
  if (!file.ok())
    return Failure{file.failure().code,
                   "cannot read " + in_quotes(path) + ": " + file.failure().text};
  return parse_catalogue(path,
                         std::string_view(reinterpret_cast<const char*>(file->data()), file->size));
}

}  // namespace tralk::text
