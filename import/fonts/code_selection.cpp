#include "import/fonts/code_selection.h"

#include <cstdio>

#include "cli/utf8.h"

namespace {

constexpr uint32_t kUnset = 0xFFFFFFFF;
constexpr uint32_t kMaxByte = 0xFF;

std::string u_plus(char32_t c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(c));
  return buf;
}

// source[code] is the code as the user selected it, before the encoding.
class Picks {
 public:
  Picks() : source_(kMaxCpCode + 1, kUnset) {}

  bool add(uint32_t code, uint32_t source, std::string& error) {
    uint32_t& slot = source_[code];
    if (slot != kUnset && slot != source) {
      error = "code " + format_code_run(code, code) + " is selected twice, for " +
              format_code_run(slot, slot) + " and for " + format_code_run(source, source);
      return false;
    }
    slot = source;
    return true;
  }
  const std::vector<uint32_t>& sources() const { return source_; }

 private:
  std::vector<uint32_t> source_;
};

bool add_ranges(const std::vector<CodeRange>& ranges, const Encoding& encoding, Picks& picks,
                std::string& error) {
  for (const CodeRange& r : ranges) {
    if (encoding.kind == EncodingKind::code_page && r.last > kMaxByte) {
      error = "with --encoding " + encoding.name() + " codes are bytes, 0 to 0xFF; " +
              format_code_run(r.first, r.last) + " is not";
      return false;
    }
    for (uint32_t i = 0; i <= r.last - r.first; ++i)
      if (!picks.add(r.to + i, r.first + i, error)) return false;
  }
  return true;
}

// The codepage code of character c; false with the reason when there is
// none.
bool code_of_char(char32_t c, const Encoding& encoding, uint32_t& code, std::string& error) {
  if (encoding.kind == EncodingKind::code_page) {
    const std::optional<uint8_t> b = encoding.code_page->from_unicode(c);
    if (!b) {
      error = "character " + u_plus(c) + " is not in code page " + encoding.name();
      return false;
    }
    code = *b;
    return true;
  }
  if (c > kMaxCpCode) {
    error = "character " + u_plus(c) +
            " is above 0xFFFF, the largest codepage code: select it with -r and remap it";
    return false;
  }
  code = c;
  return true;
}

bool add_symbols(const std::string& symbols, const Encoding& encoding, Picks& picks,
                 std::string& error) {
  const std::optional<std::vector<char32_t>> chars = utf8_decode(symbols);
  if (!chars) {
    error = "--symbols is not UTF-8 text";
    return false;
  }
  for (const char32_t c : *chars) {
    uint32_t code = 0;
    if (!code_of_char(c, encoding, code, error) || !picks.add(code, code, error)) return false;
  }
  return true;
}

std::optional<uint32_t> lookup_code(uint32_t source, const Encoding& encoding) {
  if (encoding.kind != EncodingKind::code_page) return source;
  const std::optional<char32_t> c = encoding.code_page->to_unicode(static_cast<uint8_t>(source));
  if (!c) return std::nullopt;
  return *c;
}

}  // namespace

bool select_codes(const std::vector<CodeRange>& ranges, const std::string& symbols,
                  const Encoding& encoding, std::vector<WantedCode>& out, std::string& error) {
  out.clear();
  Picks picks;
  if (!add_ranges(ranges, encoding, picks, error) || !add_symbols(symbols, encoding, picks, error))
    return false;
  const std::vector<uint32_t>& sources = picks.sources();
  for (uint32_t code = 0; code <= kMaxCpCode; ++code)
    if (sources[code] != kUnset)
      out.push_back({static_cast<uint16_t>(code), lookup_code(sources[code], encoding)});
  return true;
}

bool parse_defchar(const std::string& text, const Encoding& encoding, uint16_t& code,
                   std::string& error) {
  const std::optional<std::vector<char32_t>> chars = utf8_decode(text);
  uint32_t value = 0;
  if (chars && chars->size() == 1) {
    if (encoding.kind == EncodingKind::native && (*chars)[0] > 0x7F) {
      error = "with --encoding native give --defchar as a code, such as 0x3F";
      return false;
    }
    if (!code_of_char((*chars)[0], encoding, value, error)) return false;
  } else if (!parse_code(text, value) || value > kMaxCpCode) {
    error = "--defchar takes one character or a code up to 0xFFFF, not \"" + text + "\"";
    return false;
  }
  code = static_cast<uint16_t>(value);
  return true;
}
