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

// The character that the bytes in convert to as a whole; kNoChar when they
// convert to nothing, to more than one character, or are refused.
char32_t convert_bytes(iconv_t cd, const uint8_t* bytes, size_t n) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);  // the initial shift state
  char in[4] = {};
  for (size_t i = 0; i < n && i < sizeof in; ++i) in[i] = static_cast<char>(bytes[i]);
  unsigned char out[16] = {};
  char* inp = in;
  char* outp = reinterpret_cast<char*>(out);
  size_t inleft = n;
  size_t outleft = sizeof out;
  if (iconv(cd, &inp, &inleft, &outp, &outleft) == static_cast<size_t>(-1)) return kNoChar;
  // A stateful converter may hold output back until it is flushed.
  if (iconv(cd, nullptr, nullptr, &outp, &outleft) == static_cast<size_t>(-1)) return kNoChar;
  if (inleft != 0 || sizeof out - outleft != 4) return kNoChar;
  return char32_t{out[0]} | char32_t{out[1]} << 8 | char32_t{out[2]} << 16 | char32_t{out[3]} << 24;
}

// How an X11 charset's codes are read through iconv.
struct X11Charset {
  const char* registry;  // as fonts name it, compared ignoring case
  const char* encoding;  // nullptr: any, appended to iconv's name
  const char* iconv;
  bool two_bytes;
  uint32_t offset;
  uint8_t prefix;
};

// The sets whose iconv names differ from "REGISTRY-ENCODING"; any other
// name is tried as it is, as in "KOI8-R" and "ARMSCII-8".
const X11Charset kX11Charsets[] = {
    {"ISO8859", nullptr, "ISO-8859-", false, 0, 0},
    // Shift JIS's single bytes are JIS X 0201, its yen sign and overline included.
    {"JISX0201.1976", "0", "SHIFT_JIS", false, 0, 0},
    {"JISX0208.1978", "0", "EUC-JP", true, 0x8080, 0},
    {"JISX0208.1983", "0", "EUC-JP", true, 0x8080, 0},
    {"JISX0208.1990", "0", "EUC-JP", true, 0x8080, 0},
    {"JISX0212.1990", "0", "EUC-JP", true, 0x8080, 0x8F},
    {"GB2312.1980", "0", "EUC-CN", true, 0x8080, 0},
    {"KSC5601.1987", "0", "EUC-KR", true, 0x8080, 0},
    {"KSC5601.1992", "3", "JOHAB", true, 0, 0},
    {"BIG5", "0", "BIG5", true, 0, 0},
    {"BIG5.ETEN", "0", "BIG5", true, 0, 0},
    {"BIG5HKSCS", "0", "BIG5-HKSCS", true, 0, 0},
    {"GBK", "0", "GBK", true, 0, 0},
    {"GB18030.2000", "0", "GB18030", true, 0, 0},
    {"MICROSOFT", nullptr, "", false, 0, 0},
    {"IBM", nullptr, "", false, 0, 0},
    {"ASCII", "0", "ASCII", false, 0, 0},
    {"ISO646.1991", "IRV", "ASCII", false, 0, 0},
    {"TIS620", nullptr, "TIS-620", false, 0, 0},
    {"TIS620.2533", nullptr, "TIS-620", false, 0, 0},
    {"VISCII1.1", "1", "VISCII", false, 0, 0},
};

// The iconv descriptor from the set named to UTF-32; null when iconv does
// not know it.
std::shared_ptr<void> open_to_utf32(const std::string& name) {
  const iconv_t cd = iconv_open("UTF-32LE", name.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return nullptr;
  return std::shared_ptr<void>(cd, [](void* p) { iconv_close(static_cast<iconv_t>(p)); });
}

}  // namespace

Outcome<FontCharset> FontCharset::open(std::string_view registry, std::string_view encoding) {
  FontCharset set;
  set.iconv_name_ = std::string(registry) + "-" + std::string(encoding);
  for (const X11Charset& x : kX11Charsets) {
    if (!ascii_iequal(registry, x.registry) || (x.encoding && !ascii_iequal(encoding, x.encoding)))
      continue;
    set.iconv_name_ = std::string(x.iconv) + (x.encoding ? "" : std::string(encoding));
    set.two_bytes_ = x.two_bytes;
    set.offset_ = x.offset;
    set.prefix_ = x.prefix;
    break;
  }
  set.cd_ = open_to_utf32(set.iconv_name_);
  if (!set.cd_)
    return Failure{Fault::not_found, "iconv does not know " + in_quotes(set.iconv_name_)};
  return set;
}

std::optional<char32_t> FontCharset::to_unicode(uint32_t code) const {
  uint8_t bytes[3] = {};
  size_t n = 0;
  if (!two_bytes_) {
    if (code > 0xFF) return std::nullopt;
    bytes[n++] = static_cast<uint8_t>(code);
  } else {
    if (code < 0x100 || code > 0xFFFF) return std::nullopt;
    // Row and cell of a 94 x 94 set are each 0x21 to 0x7E.
    const auto in_94 = [](uint32_t b) { return b >= 0x21 && b <= 0x7E; };
    if (offset_ && !(in_94(code >> 8) && in_94(code & 0xFF))) return std::nullopt;
    const uint32_t euc = code + offset_;
    if (prefix_) bytes[n++] = prefix_;
    bytes[n++] = static_cast<uint8_t>(euc >> 8);
    bytes[n++] = static_cast<uint8_t>(euc);
  }
  const char32_t c = convert_bytes(static_cast<iconv_t>(cd_.get()), bytes, n);
  if (c == kNoChar) return std::nullopt;
  return c;
}

Outcome<CodePage> CodePage::open(const std::string& name) {
  const IconvPtr cd(iconv_open("UTF-32LE", name.c_str()));
  if (cd.get() == reinterpret_cast<iconv_t>(-1))
    return Failure{Fault::not_found,
                   "unknown encoding " + in_quotes(name) + " (iconv -l lists the code pages)"};
  CodePage page;
  page.name_ = name;
  bool any = false;
  for (unsigned b = 0; b < 256; ++b) {
    const uint8_t byte = static_cast<uint8_t>(b);
    page.chars_[b] = convert_bytes(cd.get(), &byte, 1);
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
