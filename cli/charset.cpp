#include "cli/charset.h"

#include <iconv.h>

#include <algorithm>
#include <memory>
#include <type_traits>

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

bool equals_ignoring_case(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
           return lower(x) == lower(y);
         });
}

}  // namespace

std::optional<CodePage> CodePage::open(const std::string& name, std::string& error) {
  const IconvPtr cd(iconv_open("UTF-32LE", name.c_str()));
  if (cd.get() == reinterpret_cast<iconv_t>(-1)) {
    error = "unknown encoding \"" + name + "\" (iconv -l lists the code pages)";
    return std::nullopt;
  }
  CodePage page;
  page.name_ = name;
  bool any = false;
  for (unsigned b = 0; b < 256; ++b) {
    page.chars_[b] = convert_byte(cd.get(), static_cast<uint8_t>(b));
    any = any || page.chars_[b] != kNoChar;
  }
  if (!any) {
    error = "encoding \"" + name + "\" is not a single-byte code page";
    return std::nullopt;
  }
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

bool parse_encoding(std::string_view text, Encoding& out, std::string& error) {
  out = Encoding{};
  if (equals_ignoring_case(text, "unicode")) return true;
  if (equals_ignoring_case(text, "native")) {
    out.kind = EncodingKind::native;
    return true;
  }
  out.code_page = CodePage::open(std::string(text), error);
  if (!out.code_page) return false;
  out.kind = EncodingKind::code_page;
  return true;
}
