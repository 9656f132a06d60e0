#include "cli/charset.h"

#include <iconv.h>

#include <algorithm>
#include <memory>
#include <type_traits>
#include <utility>

#include "base/text.h"

namespace tralk::cli {

namespace {

constexpr char32_t kNoChar = 0xFFFFFFFF;

struct IconvClose {
  void operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};
using IconvPtr = std::unique_ptr<std::remove_pointer_t<iconv_t>, IconvClose>;

// The character that byte b alone converts to; kNoChar when it converts to
// nothing, to more than one character, or is refused.
char32_t convert_byte(iconv_t cd, uint8_t b) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);  // the initial shift state
  char in[1] = {static_cast<char>(b)};
  unsigned char out[16] = {};
  char* inp = in;
  char* outp = reinterpret_cast<char*>(out);
  size_t inleft = 1;
  size_t outleft = sizeof out;
  if (iconv(cd, &inp, &inleft, &outp, &outleft) == static_cast<size_t>(-1)) return kNoChar;
  // A stateful converter may hold output back until it is flushed.
  if (iconv(cd, nullptr, nullptr, &outp, &outleft) == static_cast<size_t>(-1)) return kNoChar;
  if (inleft != 0 || sizeof out - outleft != 4) return kNoChar;
  return char32_t{out[0]} | char32_t{out[1]} << 8 | char32_t{out[2]} << 16 | char32_t{out[3]} << 24;
}

}  // namespace

Outcome<CodePage> CodePage::open(const std::string& name) {
  const IconvPtr cd(iconv_open("UTF-32LE", name.c_str()));
  if (cd.get() == reinterpret_cast<iconv_t>(-1))
    return Failure{Fault::not_found,
                   "unknown encoding " + in_quotes(name) + " (iconv -l lists the code pages)"};
  CodePage page;
  page.name_ = name;
  bool any = false;
  for (unsigned b = 0; b < 256; ++b) {
    page.chars_[b] = convert_byte(cd.get(), static_cast<uint8_t>(b));
    any = any || page.chars_[b] != kNoChar;
  }
  if (!any)
    return Failure{Fault::unsupported,
                   "encoding " + in_quotes(name) + " is not a single-byte code page"};
  return page;
}

std::optional<char32_t> CodePage::to_unicode(uint8_t b) const {
  if (chars_[b] == kNoChar) return std::nullopt;
  return chars_[b];
}

std::optional<uint8_t> CodePage::from_unicode(char32_t c) const {
  const auto at = std::find(chars_.begin(), chars_.end(), c);
  if (c == kNoChar || at == chars_.end()) return std::nullopt;
  return static_cast<uint8_t>(at - chars_.begin());
}

std::string Encoding::name() const {
  switch (kind) {
    case EncodingKind::unicode:
      return "unicode";
    case EncodingKind::native:
      return "native";
    case EncodingKind::code_page:
      break;
  }
  return code_page ? code_page->name() : std::string();
}

Outcome<Encoding> parse_encoding(std::string_view text) {
  Encoding encoding;
  if (ascii_iequal(text, "unicode")) return encoding;
  if (ascii_iequal(text, "native")) {
    encoding.kind = EncodingKind::native;
    return encoding;
  }
  // A name from the command line that is no code page is a usage fault.
  Outcome<CodePage> page = CodePage::open(std::string(text));
  if (!page.ok()) return Failure{Fault::usage, page.error()};
  encoding.kind = EncodingKind::code_page;
  encoding.code_page = std::move(page.value());
  return encoding;
}

}  // namespace tralk::cli
