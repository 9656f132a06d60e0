// The configuration read into its entries, once, front to back: each line's
// first name, and the further name on its line where the entry's kind takes
// one (an image's identifier, a font's or picture's name template, the grey
// mode's value). The image builder and the lister both act on the entries.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/scanner.h"

// The names of the configuration's text, as the scanner reads them: the
// first name of the next line that holds one, then a further name on the
// same line, or none when the line holds no more.
class ConfigLines {
 public:
  explicit ConfigLines(std::span<const uint8_t> text);

  // The next name (normally the first of the next line holding one); none
  // at the end, or when the name is rejected.
  const char* firstname();
  // A further name on the line of the last name, or none.
  const char* linearg();
  bool name_rejected() const { return scan_.name_rejected(); }
  // The configuration has ended inside a block comment.
  bool comment_unclosed() const { return scan_.comment_unclosed(); }
  // The line (from 1) on which the last name, or the end, was read.
  uint32_t line() const;

 private:
  std::span<const uint8_t> text_;
  Scanner<MemoryBytes> scan_;
};

struct ConfigEntry {
  std::string name;
  std::optional<std::string> arg;  // the further name, for the kinds that take one
  bool arg_rejected = false;       // that name was rejected: an unclosed quote, or too long
  uint32_t line = 0;
};

// How the reading of the entries ended.
enum class ConfigEnd {
  done,
  rejected_name,  // a first name was rejected: nothing after it was read
  open_comment,   // a block comment left open hid the rest of the file
};

struct ConfigText {
  std::vector<ConfigEntry> entries;
  ConfigEnd end = ConfigEnd::done;
  uint32_t end_line = 0;  // where a rejected name or the open comment's end is
};

// The entries of the configuration's text (a UTF-8 byte order mark first is
// skipped).
ConfigText read_config(std::span<const uint8_t> text);
