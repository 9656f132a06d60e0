#include "import/fonts/code_selection.h"

#include <algorithm>

#include "base/text.h"
#include "cli/arg_reader.h"
#include "cli/utf8.h"

namespace tralk::importer {

namespace {

constexpr uint32_t kUnset = 0xFFFFFFFF;
constexpr uint32_t kMaxByte = 0xFF;

// source[code] is the code as the user selected it, before the encoding.
class Picks {
 public:
  Picks() : source_(kMaxCpCode + 1, kUnset) {}

  // Selects code for source; false, selecting nothing, when it was selected
  // for another source. Cheap: it runs for every code of a range.
  bool add(uint32_t code, uint32_t source) {
    uint32_t& slot = source_[code];
    if (slot != kUnset && slot != source) return false;
    slot = source;
    return true;
  }
  // Why code cannot be selected for source.
  Failure selected_twice(uint32_t code, uint32_t source) const {
    const uint32_t before = source_[code];
    return cli::usage_error("code " + format_code_run(code, code) + " is selected twice, for " +
                            format_code_run(before, before) + " and for " +
                            format_code_run(source, source));
  }
  const std::vector<uint32_t>& sources() const { return source_; }

 private:
  std::vector<uint32_t> source_;
};

Status add_ranges(const std::vector<CodeRange>& ranges, const cli::Encoding& encoding,
                  Picks& picks) {
  for (const CodeRange& r : ranges) {
    if (encoding.kind == cli::EncodingKind::code_page && r.last > kMaxByte)
      return cli::usage_error("with --encoding " + encoding.name() +
                              " codes are bytes, 0 to 0xFF; " + format_code_run(r.first, r.last) +
                              " is not");
    for (uint32_t i = 0; i <= r.last - r.first; ++i)
      if (!picks.add(r.to + i, r.first + i)) return picks.selected_twice(r.to + i, r.first + i);
  }
  return {};
}

// The codepage code of character c, or the reason why there is none (for a
// character above 0xFFFF, with advice).
Outcome<uint32_t> code_of_char(char32_t c, const cli::Encoding& encoding,
                               const std::string& advice) {
  if (encoding.kind == cli::EncodingKind::code_page) {
    const std::optional<uint8_t> b = encoding.code_page->from_unicode(c);
    if (!b)
      return cli::usage_error("character " + u_plus(c) + " is not in code page " + encoding.name());
    return uint32_t{*b};
  }
  if (c > kMaxCpCode)
    return cli::usage_error("character " + u_plus(c) +
                            " is above 0xFFFF, the largest codepage code: " + advice);
  return uint32_t{c};
}

// Whether a run of ranges holds character c: one above 0xFFFF is then
// selected, remapped, by the run.
bool covered(const std::vector<CodeRange>& ranges, char32_t c) {
  return std::any_of(ranges.begin(), ranges.end(),
                     [c](const CodeRange& r) { return r.first <= c && c <= r.last; });
}

Status add_symbols(const std::vector<CodeRange>& ranges, const std::string& symbols,
                   const cli::Encoding& encoding, Picks& picks) {
  const std::optional<std::vector<char32_t>> chars = cli::utf8_decode(symbols);
  if (!chars) return cli::usage_error("--symbols is not UTF-8 text");
  for (const char32_t c : *chars) {
    if (c > kMaxCpCode && encoding.kind != cli::EncodingKind::code_page && covered(ranges, c))
      continue;
    // The advice is made only where it is given: text can be long.
    const Outcome<uint32_t> code = code_of_char(
        c, encoding,
        c > kMaxCpCode
            ? "select it with a remapped run, as in -r " + format_code_run(c, c) + "=>0xE000"
            : std::string());
    if (!code.ok()) return code.failure();
    if (!picks.add(code.value(), code.value()))
      return picks.selected_twice(code.value(), code.value());
  }
  return {};
}

std::optional<uint32_t> lookup_code(uint32_t source, const cli::Encoding& encoding) {
  if (encoding.kind != cli::EncodingKind::code_page) return source;
  const std::optional<char32_t> c = encoding.code_page->to_unicode(static_cast<uint8_t>(source));
  if (!c) return std::nullopt;
  return *c;
}

}  // namespace

Outcome<std::vector<WantedCode>> select_codes(const std::vector<CodeRange>& ranges,
                                              const std::string& symbols,
                                              const cli::Encoding& encoding) {
  Picks picks;
  if (Status added = add_ranges(ranges, encoding, picks); !added.ok()) return added.failure();
  if (Status added = add_symbols(ranges, symbols, encoding, picks); !added.ok())
    return added.failure();
  std::vector<WantedCode> wanted;
  const std::vector<uint32_t>& sources = picks.sources();
  wanted.reserve(static_cast<size_t>(
      std::count_if(sources.begin(), sources.end(), [](uint32_t s) { return s != kUnset; })));
  for (uint32_t code = 0; code <= kMaxCpCode; ++code)
    if (sources[code] != kUnset)
      wanted.push_back({static_cast<uint16_t>(code), lookup_code(sources[code], encoding)});
  return wanted;
}

Outcome<uint16_t> parse_defchar(const std::string& text, const cli::Encoding& encoding) {
  const std::optional<std::vector<char32_t>> chars = cli::utf8_decode(text);
  if (chars && chars->size() == 1) {
    if (encoding.kind == cli::EncodingKind::native && (*chars)[0] > 0x7F)
      return cli::usage_error("with --encoding native give --defchar as a code, such as 0x3F");
    const Outcome<uint32_t> code =
        code_of_char((*chars)[0], encoding, "give --defchar the code -r remaps it to");
    if (!code.ok()) return code.failure();
    return static_cast<uint16_t>(code.value());
  }
  const std::optional<uint32_t> code = parse_code(text);
  if (!code || *code > kMaxCpCode)
    return cli::usage_error("--defchar takes one character or a code up to 0xFFFF, not " +
                            in_quotes(text));
  return static_cast<uint16_t>(*code);
}

}  // namespace tralk::importer
