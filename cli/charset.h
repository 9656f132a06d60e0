// What the character codes of a codepage stand for. Codepage codes are 16
// bits; they are either Unicode values (below 0x10000), the bytes of a
// single-byte code page such as CP1251 or KOI8-R, or a bitmap font's own
// codes. Code pages are read through iconv, which the C library provides.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "base/outcome.h"

namespace tralk::cli {

// A single-byte code page: the character of each byte.
class CodePage {
 public:
  // The table of the code page iconv knows as name. A failure when iconv
  // does not know it (Fault::not_found) or no byte of it is a character on
  // its own (a multi-byte encoding: Fault::unsupported).
  static Outcome<CodePage> open(const std::string& name);

  // The character of byte b; none where b alone is not one.
  std::optional<char32_t> to_unicode(uint8_t b) const;
  // The byte of character c; none where the code page lacks it.
  std::optional<uint8_t> from_unicode(char32_t c) const;
  const std::string& name() const { return name_; }

 private:
  std::string name_;
  std::array<char32_t, 256> chars_{};  // kNoChar where a byte is no character
};

// The character set of an X11 bitmap font, named by its CHARSET_REGISTRY and
// CHARSET_ENCODING ("ISO8859" "2", "JISX0208.1983" "0"), read through iconv:
// the character of each of the font's codes. Codes of the 94 x 94 sets (JIS
// X 0208 and 0212, GB 2312, KS C 5601) are row and cell from 0x21 each, as
// the fonts number them; iconv reads them as EUC bytes (0x8080 more).
class FontCharset {
 public:
  // The set of registry and encoding. A failure (Fault::not_found) when
  // neither this program's table of X11 names nor iconv knows it.
  static Outcome<FontCharset> open(std::string_view registry, std::string_view encoding);

  // The character of code; none where the set has none.
  std::optional<char32_t> to_unicode(uint32_t code) const;
  // The iconv name the codes are read through ("ISO-8859-2", "EUC-JP").
  const std::string& iconv_name() const { return iconv_name_; }

 private:
  std::string iconv_name_;
  bool two_bytes_ = false;
  uint32_t offset_ = 0;       // added to a two-byte code: 0x8080 for EUC
  uint8_t prefix_ = 0;        // a byte before the two, or 0: 0x8F for JIS X 0212 in EUC-JP
  std::shared_ptr<void> cd_;  // the iconv descriptor
};

enum class EncodingKind {
  unicode,    // codes are Unicode values
  code_page,  // codes 0 to 255 are the bytes of a code page
  native,     // codes are a font's own codes, whatever its charset
};

struct Encoding {
  EncodingKind kind = EncodingKind::unicode;
  std::optional<CodePage> code_page;  // for EncodingKind::code_page

  // "unicode", "native" or the code page's name as given.
  std::string name() const;
};

// Reads an --encoding value: "unicode" and "native" (any letter case), or a
// code page name. A usage failure, with the reason, for a name that is no
// single-byte code page.
Outcome<Encoding> parse_encoding(std::string_view text);

}  // namespace tralk::cli
