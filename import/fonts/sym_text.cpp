#include "import/fonts/sym_text.h"

#include <array>
#include <cstring>

#include "base/text.h"

namespace tralk::importer {

namespace {

// Text gathered before it is written: OutFile passes a piece this large
// straight to the file, without copying it into its own buffer.
constexpr size_t kPieceSize = size_t{1} << 20;
// The most a header takes: "{{0,8,65535,65535},{".
constexpr size_t kMaxHeader = 20;
// Room after a line: the bytes are stored 8 characters at once.
constexpr size_t kStoreSlack = 8;

// ",0xAB" for every byte, padded to 8 characters so that each is stored
// whole: this runs for every pixel byte of a font.
using ByteTexts = std::array<std::array<char, 8>, 256>;

constexpr ByteTexts make_byte_texts() {
  ByteTexts t{};
  for (unsigned b = 0; b < 256; ++b)
    t[b] = {',', '0', 'x', hex_digit_upper(b >> 4u), hex_digit_upper(b), 0, 0, 0};
  return t;
}

constexpr ByteTexts kByteTexts = make_byte_texts();

char* put(char* p, std::string_view s) {
  std::memcpy(p, s.data(), s.size());
  return p + s.size();
}

char* put_number(char* p, uint32_t v) {
  char digits[10];
  char* end = digits + sizeof digits;
  char* d = end;
  do {
    *--d = static_cast<char>('0' + v % 10);
    v /= 10;
  } while (v);
  return put(p, std::string_view(d, static_cast<size_t>(end - d)));
}

// "0xAB,0xCD...": the first byte without its comma.
char* put_bytes(char* p, std::span<const uint8_t> bytes) {
  if (bytes.empty()) return p;
  std::memcpy(p, kByteTexts[bytes[0]].data() + 1, 4);
  p += 4;
  for (const uint8_t b : bytes.subspan(1)) {
    std::memcpy(p, kByteTexts[b].data(), 8);
    p += 5;
  }
  return p;
}

// The note, with control characters replaced by "?", safe in a line comment.
char* put_comment(char* p, std::string_view note) {
  for (const char c : note) *p++ = static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? '?' : c;
  return p;
}

std::string comment_safe(const std::string& text) {
  std::string out(text.size(), ' ');
  put_comment(out.data(), text);
  return out;
}

}  // namespace

SymTextWriter::SymTextWriter(OutFile& out, const SymTextInfo& info, unsigned bpp, uint32_t height)
    : out_(out),
      header_start_(bpp == 1 ? "{{" : "{{0," + std::to_string(bpp) + ","),
      header_end_("," + std::to_string(height) + "},{") {
  std::string head = info.cp_name.empty() ? "// tralk symbol font without a codepage\n"
                                          : "// CP<" + info.cp_name + ">\n";
  for (const std::string& line : info.comments) head += "// " + comment_safe(line) + "\n";
  out_.write(head);
}

void SymTextWriter::add(uint32_t width, std::span<const uint8_t> bytes, std::string_view note) {
  const size_t most = kMaxHeader + bytes.size() * 5 + note.size() + 8 + kStoreSlack;
  if (text_.size() < used_ + most) text_.resize(std::max(used_ + most, kPieceSize + most));
  char* const start = text_.data() + used_;
  char* p = put(start, header_start_);
  p = put_number(p, width);
  p = put(p, header_end_);
  p = put_bytes(p, bytes);
  p = put(p, "}}, // ");
  p = put_comment(p, note);
  *p++ = '\n';
  used_ += static_cast<size_t>(p - start);
  if (used_ >= kPieceSize) flush();
}

void SymTextWriter::flush() {
  out_.write(std::string_view(text_.data(), used_));
  used_ = 0;
}

void SymTextWriter::finish() {
  flush();
}

}  // namespace tralk::importer
