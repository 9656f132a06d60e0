#include "inspect/strings_check.h"

#include <algorithm>
#include <map>

#include "cli/utf8.h"
#include "text/normalise.h"

namespace tralk::inspector {

namespace {

// The characters of the widest line of chars.
uint64_t widest_in_characters(std::u32string_view chars) {
  uint64_t widest = 0, line = 0;
  for (const char32_t c : chars) {
    line = c == U'\n' ? 0 : line + 1;
    widest = std::max(widest, line);
  }
  return widest;
}

Finding found(FindingKind kind, size_t file, size_t string,
              std::optional<size_t> font = std::nullopt) {
  Finding f;
  f.kind = kind;
  f.file = file;
  f.string = string;
  f.font = font;
  return f;
}

// The pixel limit on a string's width: its own, else the one given.
std::optional<uint32_t> pixel_limit(const text::DisplayString& s, const FitLimits& limits) {
  if (s.max_width)
    return s.max_width->unit == text::WidthUnit::pixel ? std::optional(s.max_width->value)
                                                       : std::nullopt;
  return limits.max_width;
}

// The strings' own findings, which no font changes.
void check_own(size_t file, const text::Catalogue& cat, const std::vector<std::u32string>& chars,
               std::vector<Finding>& out) {
  std::vector<Finding> too_wide;
  for (size_t i = 0; i < cat.strings.size(); ++i) {
    const text::DisplayString& s = cat.strings[i];
    for (std::u32string& sequence : text::uncomposed_sequences(s.text)) {
      Finding f = found(FindingKind::undrawable, file, i);
      f.sequence = std::move(sequence);
      out.push_back(std::move(f));
    }
    if (!s.max_width || s.max_width->unit != text::WidthUnit::character) continue;
    const uint64_t wide = widest_in_characters(chars[i]);
    if (wide <= s.max_width->value) continue;
    Finding f = found(FindingKind::too_wide, file, i);
    f.size = wide;
    f.limit = s.max_width->value;
    f.unit = text::WidthUnit::character;
    too_wide.push_back(std::move(f));
  }
  out.insert(out.end(), too_wide.begin(), too_wide.end());
}

// The strings that each character is in, by character.
using CharStrings = std::map<char32_t, std::vector<size_t>>;

void note(CharStrings& chars, char32_t c, size_t string) {
  std::vector<size_t>& strings = chars[c];
  if (strings.empty() || strings.back() != string) strings.push_back(string);
}

void add_chars(FindingKind kind, size_t file, size_t font, const CharStrings& chars,
               std::vector<Finding>& out) {
  for (const auto& [c, strings] : chars)
    for (const size_t i : strings) {
      Finding f = found(kind, file, i, font);
      f.character = c;
      out.push_back(std::move(f));
    }
}

// The findings of one catalogue in one font.
void check_font(size_t file, const text::Catalogue& cat, const std::vector<std::u32string>& chars,
                const FontRecord& record, size_t font, const cli::Encoding* encoding,
                const FitLimits& limits, std::vector<Finding>& out) {
  CharStrings not_held, missing;
  std::vector<Finding> fit;
  for (size_t i = 0; i < cat.strings.size(); ++i) {
    const std::vector<uint32_t> codes = font_codes(chars[i], encoding);
    for (size_t j = 0; j < codes.size(); ++j) {
      if (chars[i][j] == U'\n') continue;
      if (codes[j] == kNoCode)
        note(not_held, chars[i][j], i);
      else if (!codepage_symbol(record, codes[j]))
        note(missing, chars[i][j], i);
    }
    const std::optional<uint32_t> limit = pixel_limit(cat.strings[i], limits);
    if (!limit && !limits.max_lines) continue;
    const TextSymbols symbols = text_symbols(record, codes);
    uint64_t wide = 0;
    for (const auto& line : symbols.lines)
      wide = std::max(wide, line_width(record, line, limits.spacing.symbol));
    if (limit && wide > *limit) {
      Finding f = found(FindingKind::too_wide, file, i, font);
      f.size = wide;
      f.limit = *limit;
      fit.push_back(std::move(f));
    }
    if (limits.max_lines && symbols.lines.size() > *limits.max_lines) {
      Finding f = found(FindingKind::too_many_lines, file, i, font);
      f.size = symbols.lines.size();
      f.height = text_height(record, symbols.lines.size(), limits.spacing);
      f.limit = *limits.max_lines;
      fit.push_back(std::move(f));
    }
  }
  add_chars(FindingKind::not_in_code_page, file, font, not_held, out);
  add_chars(FindingKind::missing, file, font, missing, out);
  // Too wide before too many lines, each in string order.
  std::stable_partition(fit.begin(), fit.end(),
                        [](const Finding& f) { return f.kind == FindingKind::too_wide; });
  out.insert(out.end(), fit.begin(), fit.end());
}

}  // namespace

std::u32string string_chars(const text::DisplayString& s) {
  const std::optional<std::vector<char32_t>> chars = cli::utf8_decode(s.text);
  return chars ? std::u32string(chars->begin(), chars->end()) : std::u32string();
}

Outcome<StringsCheck> check_strings(const InspectResult& result,
                                    const std::vector<text::Catalogue>& catalogues,
                                    const std::vector<CheckedFont>& fonts,
                                    const FitLimits& limits) {
  for (const CheckedFont& font : fonts)
    if (!result.fonts.at(font.block).has_codepage)
      return Failure{Fault::unsupported, "font block " + std::to_string(font.block) +
                                             " has no codepage to find the strings' characters in"};
  StringsCheck check;
  for (size_t file = 0; file < catalogues.size(); ++file) {
    const text::Catalogue& cat = catalogues[file];
    FileSummary summary;
    std::vector<std::u32string> chars;
    chars.reserve(cat.strings.size());
    for (const text::DisplayString& s : cat.strings) {
      chars.push_back(string_chars(s));
      summary.characters +=
          chars.back().size() -
          static_cast<size_t>(std::count(chars.back().begin(), chars.back().end(), U'\n'));
      summary.fit_checked = summary.fit_checked || limits.max_lines || pixel_limit(s, limits);
    }
    check.files.push_back(summary);
    check_own(file, cat, chars, check.findings);
    for (size_t k = 0; k < fonts.size(); ++k)
      check_font(file, cat, chars, result.fonts[fonts[k].block], k,
                 fonts[k].encoding ? &*fonts[k].encoding : nullptr, limits, check.findings);
  }
  return check;
}

}  // namespace tralk::inspector
