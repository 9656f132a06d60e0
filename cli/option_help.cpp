#include "cli/option_help.h"

#include <string_view>
#include <utility>

#include "base/text.h"

namespace tralk::cli {

std::string options_help(std::span<const OptionGroup> groups, size_t indent, size_t column) {
  std::string out;
  for (const OptionGroup& group : groups) {
    if (!out.empty()) out += "\n";
    if (group.title) out += std::string(group.title) + "\n";
    for (const OptionHelp& option : group.options) {
      std::string head = std::string(indent, ' ') + option.names;
      if (option.value) head += std::string(" ") + option.value;
      append_option_help(out, std::move(head), option.text, column);
    }
  }
  return out;
}

std::vector<std::string> option_names(std::span<const OptionGroup> groups) {
  std::vector<std::string> names;
  for (const OptionGroup& group : groups) {
    for (const OptionHelp& option : group.options) {
      std::string_view rest = option.names;
      while (!rest.empty()) {
        const size_t comma = rest.find(", ");
        names.emplace_back(rest.substr(0, comma));
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 2);
      }
    }
  }
  return names;
}

}  // namespace tralk::cli
