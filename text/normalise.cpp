#include "text/normalise.h"

#include <unicode/bytestream.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <stdexcept>

#include "base/text.h"

namespace tralk::text {

namespace {

const icu::Normalizer2& nfc() {
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* instance = icu::Normalizer2::getNFCInstance(status);
  // Only a broken ICU installation (its data missing) fails here.
  if (U_FAILURE(status)) throw std::runtime_error(u_errorName(status));
  return *instance;
}

bool is_mark(UChar32 c) {
  return (U_GET_GC_MASK(c) & U_GC_M_MASK) != 0;
}

}  // namespace

std::string to_nfc(std::string_view utf8) {
  std::string out;
  icu::StringByteSink<std::string> sink(&out, static_cast<int32_t>(utf8.size()));
  UErrorCode status = U_ZERO_ERROR;
  nfc().normalizeUTF8(0, icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())), sink,
                      nullptr, status);
  if (U_FAILURE(status)) throw std::runtime_error(u_errorName(status));
  return out;
}

std::vector<std::u32string> uncomposed_sequences(std::string_view nfc_utf8) {
  std::vector<std::u32string> found;
  std::u32string sequence;  // the character before, then the marks that follow it
  bool has_mark = false;
  const auto flush = [&] {
    if (has_mark) found.push_back(sequence);
    sequence.clear();
    has_mark = false;
  };
  const auto* bytes = reinterpret_cast<const uint8_t*>(nfc_utf8.data());
  const auto length = static_cast<int32_t>(nfc_utf8.size());
  for (int32_t i = 0; i < length;) {
    UChar32 c = 0;
    U8_NEXT(bytes, i, length, c);
    if (c < 0) c = 0xFFFD;
    if (is_mark(c)) {
      has_mark = true;
    } else {
      flush();
    }
    sequence.push_back(static_cast<char32_t>(c));
  }
  flush();
  return found;
}

std::string code_list(std::u32string_view codes) {
  std::string out;
  for (const char32_t c : codes) {
    if (!out.empty()) out += ' ';
    out += "U+" + hex_upper(c, 4);
  }
  return out;
}

}  // namespace tralk::text
