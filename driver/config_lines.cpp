#include "driver/config_lines.h"

#include <string_view>

#include "base/text.h"
#include "driver/driver.h"

namespace {

MemoryBytes after_bom(std::span<const uint8_t> text) {
  const bool bom = text.size() >= 3 && text[0] == 0xEF && text[1] == 0xBB && text[2] == 0xBF;
  return MemoryBytes(text.data() + (bom ? 3 : 0), text.data() + text.size());
}

// The entries that read a further name from their line.
bool takes_arg(const std::string& name) {
  if (name == "GREYMODE") return true;
  const int type = file_type(name);
  return type == kTypeBin || type == kTypeSym || type == kTypeBmp;
}

}  // namespace

ConfigLines::ConfigLines(std::span<const uint8_t> text) : text_(text), scan_(after_bom(text)) {}

const char* ConfigLines::firstname() {
  scan_.drop_pushback();
  scan_.set_linemode(false);
  return scan_.name();
}

const char* ConfigLines::linearg() {
  // The name before was ended by its line end.
  if (scan_.newlines() == 1) return nullptr;
  scan_.drop_pushback();
  scan_.set_linemode(true);
  const char* name = scan_.name();
  scan_.set_linemode(false);
  return name && name[0] != '\0' ? name : nullptr;
}

uint32_t ConfigLines::line() const {
  // At the end: the input's last byte.
  const uint8_t* end = scan_.bytes().at();
  const uint8_t* at = scan_.name_start() ? scan_.name_start() : end > text_.data() ? end - 1 : end;
  const size_t offset = at > text_.data() ? static_cast<size_t>(at - text_.data()) : 0;
  return line_at(std::string_view(reinterpret_cast<const char*>(text_.data()), text_.size()),
                 offset);
}

ConfigText read_config(std::span<const uint8_t> text) {
  ConfigLines lines(text);
  ConfigText config;
  while (const char* first = lines.firstname()) {
    ConfigEntry entry;
    entry.name = first;
    entry.line = lines.line();
    if (takes_arg(entry.name)) {
      const char* arg = lines.linearg();
      if (arg) entry.arg = arg;
      entry.arg_rejected = !arg && lines.name_rejected();
    }
    config.entries.push_back(std::move(entry));
  }
  if (lines.name_rejected()) {
    config.end = ConfigEnd::rejected_name;
  } else if (lines.comment_unclosed()) {
    config.end = ConfigEnd::open_comment;
  }
  config.end_line = lines.line();
  return config;
}
