#include "inspect/header_macros.h"

#include <algorithm>

#include "base/byte_size.h"
#include "base/text.h"

namespace tralk::inspector {

HeaderMacros header_macros(std::string_view text) {
  HeaderMacros macros;
  while (!text.empty()) {
    const std::string_view line = next_line(text);
    size_t at = 0;
    if (next_word(line, at) != "#define") continue;
    const std::string_view name = next_word(line, at);
    const std::optional<uint64_t> value = parse_byte_size(next_word(line, at));
    if (!name.empty() && value) macros.emplace(std::string(name), *value);
  }
  return macros;
}

std::vector<ChipEntry> chip_entries(const HeaderMacros& macros) {
  constexpr std::string_view kOffset = "_OFFSET";
  std::vector<ChipEntry> entries;
  for (const auto& [macro, value] : macros) {
    if (!std::string_view(macro).ends_with(kOffset)) continue;
    const std::string name = macro.substr(0, macro.size() - kOffset.size());
    const auto size = macros.find(name + "_SIZE");
    if (size == macros.end()) continue;
    ChipEntry entry{name, value, size->second, std::nullopt};
    if (const auto crc = macros.find(name + "_CRC32"); crc != macros.end())
      entry.crc = static_cast<uint32_t>(crc->second);
    entries.push_back(std::move(entry));
  }
  std::sort(entries.begin(), entries.end(),
            [](const ChipEntry& a, const ChipEntry& b) { return a.offset < b.offset; });
  return entries;
}

uint8_t chip_fill(const HeaderMacros& macros) {
  for (const auto& [macro, value] : macros)
    if (std::string_view(macro).ends_with("_FILL") && value <= 0xFF)
      return static_cast<uint8_t>(value);
  return 0xFF;
}

}  // namespace tralk::inspector
