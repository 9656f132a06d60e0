// Icons asked for by name: the glyph names of --names, and the lines of a
// names file, "name" or "name code", as the codepoints files that icon sets
// ship beside their fonts have them ("wifi e63e").
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/outcome.h"

namespace tralk::importer {

struct IconName {
  std::string name;
  std::optional<uint16_t> code;  // the codepage code given for it
  std::string where;             // for messages: "names file \"f\": line 3"; empty for --names

  bool operator==(const IconName&) const = default;
};

// The names of a --names value, comma-separated. A usage failure, with the
// reason, for an empty name or one holding a control character or a blank.
Outcome<std::vector<IconName>> parse_names_list(std::string_view text);

// The lines of the names file text read from path: each "name" or "name
// code" (code hexadecimal, with or without 0x or U+), blanks or tabs between;
// empty lines and lines starting with "#" are skipped, a byte order mark at
// the start too. A failure (Fault::format) naming the file and the line for
// any other line, and for a code above 0xFFFF or one UTF-8 cannot hold.
Outcome<std::vector<IconName>> parse_names_file(std::string_view text, const std::string& path);

// The names file at path, read and parsed; a failure naming the file when
// it cannot be read.
Outcome<std::vector<IconName>> read_names_file(const std::string& path);

}  // namespace tralk::importer
