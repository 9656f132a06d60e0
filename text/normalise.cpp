#include "text/normalise.h"

#include <unicode/bytestream.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <algorithm>
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

// Text of characters below U+0300 alone (bytes below 0xCC) is in NFC: the
// first character that NFC changes or composes with one before it is U+0300.
bool below_marks(std::string_view utf8) {
  return std::all_of(utf8.begin(), utf8.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0xCC; });
}

}  // namespace

std::string to_nfc(std::string_view utf8) {
  if (below_marks(utf8)) return std::string(utf8);
  std::string out;
  icu::StringByteSink<std::string> sink(&out, static_cast<int32_t>(utf8.size()));
  UErrorCode status = U_ZERO_ERROR;
  nfc().normalizeUTF8(0, icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())), sink,
                      nullptr, status);
  if (U_FAILURE(status)) throw std::runtime_error(u_errorName(status));
  return out;
}

std::string to_nfc_owned(std::string utf8) {
  if (below_marks(utf8)) return utf8;
  return to_nfc(std::string_view(utf8));
}

std::vector<std::u32string> uncomposed_sequences(std::string_view nfc_utf8) {
  std::vector<std::u32string> found;
  // Every mark is U+0300 or above.
  if (below_marks(nfc_utf8)) return found;
  std::u32string sequence;  // the character before, then the marks that follow it
  UChar32 before = U_SENTINEL;
  const auto* bytes = reinterpret_cast<const uint8_t*>(nfc_utf8.data());
  const auto length = static_cast<int32_t>(nfc_utf8.size());
  for (int32_t i = 0; i < length;) {
    UChar32 c = 0;
    U8_NEXT(bytes, i, length, c);
    if (c < 0) c = 0xFFFD;
    if (!is_mark(static_cast<char32_t>(c))) {
      if (!sequence.empty()) found.push_back(std::move(sequence));
      sequence.clear();
      before = c;
      continue;
    }
    if (sequence.empty() && before != U_SENTINEL) sequence.push_back(static_cast<char32_t>(before));
    sequence.push_back(static_cast<char32_t>(c));
  }
  if (!sequence.empty()) found.push_back(std::move(sequence));
  return found;
}

bool is_mark(char32_t c) {
  return (U_GET_GC_MASK(static_cast<UChar32>(c)) & U_GC_M_MASK) != 0;
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
