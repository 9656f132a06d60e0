#include "pack/layout_file.h"

#include <algorithm>

#include "base/byte_size.h"
#include "base/path.h"
#include "base/text.h"

namespace tralk::pack {

namespace {

Failure bad_line(size_t number, const std::string& what) {
  return Failure{Fault::format,
                 strf("line %llu: %s", static_cast<unsigned long long>(number), what.c_str())};
}

}  // namespace

Outcome<std::vector<LayoutEntry>> parse_layout(std::string_view text) {
  std::vector<LayoutEntry> entries;
  size_t number = 0;
  while (!text.empty()) {
    ++number;
    const std::string_view line = next_line(text);
    size_t at = 0;
    const std::string_view offset_text = next_word(line, at);
    if (offset_text.empty() || offset_text.starts_with('#')) continue;
    const std::string_view size_text = next_word(line, at);
    while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
    std::string file(line.substr(at));
    while (!file.empty() && (file.back() == ' ' || file.back() == '\t')) file.pop_back();
    const std::optional<uint64_t> offset = parse_byte_size(offset_text);
    const std::optional<uint64_t> size = parse_byte_size(size_text);
    if (!offset || !size || file.empty())
      return bad_line(number, "not an offset, a size in bytes and an image's file name");
    if (*offset >= kLayoutLimit || *size == 0 || *size > kLayoutLimit - *offset)
      return bad_line(number, "the image does not lie within 4GiB");
    LayoutEntry entry{*offset, *size, file, path_macro_name(file)};
    for (const LayoutEntry& other : entries)
      if (other.name == entry.name)
        return bad_line(number, in_quotes(file) + " is listed before, as " + in_quotes(other.file));
    entries.push_back(std::move(entry));
  }
  return entries;
}

std::string layout_text(const std::string& chip_file, std::vector<LayoutEntry> entries) {
  std::stable_sort(entries.begin(), entries.end(),
                   [](const LayoutEntry& a, const LayoutEntry& b) { return a.offset < b.offset; });
  std::string text =
      "# tralk-pack layout of " + in_quotes(chip_file) + ": offset, size in bytes, image\n";
  for (const LayoutEntry& e : entries)
    appendf(text, "0x%08llx %llu %s\n", static_cast<unsigned long long>(e.offset),
            static_cast<unsigned long long>(e.size), e.file.c_str());
  return text;
}

}  // namespace tralk::pack
