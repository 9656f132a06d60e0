#include "import/fonts/sym_text.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "base/text.h"
#include "fonts/sym_format.h"
#include "import/fonts/byte_text.h"

namespace tralk::importer {

namespace {

// Text gathered before it is written: OutFile passes a piece this large
// straight to the file, without copying it into its own buffer.
constexpr size_t kPieceSize = size_t{1} << 20;
// The block the pieces are made in: a piece and the line that ends it fit,
// and it is one huge page where the host has them (page_alloc.h), touched
// at one fault rather than one a page.
constexpr size_t kTextBlock = size_t{2} << 20;
// The most a header takes: "{{0,8,65535,65535},{".
constexpr size_t kMaxHeader = 20;
// Room after a line: pieces of it are stored 16 characters at once.
constexpr size_t kStoreSlack = 16;
static_assert(kStoreSlack >= kByteTextSlack);

char* put(char* p, const ShortText& s) {
  std::memcpy(p, s.chars.data(), s.chars.size());
  return p + s.size;
}

char* put_number(char* p, uint32_t v) {
  size_t digits = 1;
  for (uint32_t rest = v; rest >= 10; rest /= 10) ++digits;
  for (size_t i = digits; i-- > 0; v /= 10) p[i] = static_cast<char>('0' + v % 10);
  return p + digits;
}

// "0xAB,0xCD...": the bytes' ",0xAB" texts from the character before p on,
// which is put back over the first comma.
char* put_bytes(char* p, std::span<const uint8_t> bytes) {
  if (bytes.empty()) return p;
  const char before = p[-1];
  char* end = put_byte_texts(p - 1, bytes.data(), bytes.size());
  p[-1] = before;
  return end;
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
                                          : "// " + std::string(kSymCodepageMarker) + info.cp_name +
                                                kSymMarkerEnd + "\n";
  for (const std::string& line : info.comments) head += "// " + comment_safe(line) + "\n";
  out_.write(head);
}

void SymTextWriter::add(uint32_t width, std::span<const uint8_t> bytes, std::string_view note) {
  static const ShortText kBytesEnd("}}, // ");
  const size_t most = kMaxHeader + bytes.size() * 5 + note.size() + 8 + kStoreSlack;
  if (text_.size() < used_ + most) grow(used_ + most);
  char* const start = reinterpret_cast<char*>(text_.data()) + used_;
  char* p = put(start, header_start_);
  p = put_number(p, width);
  p = put(p, header_end_);
  p = put_bytes(p, bytes);
  p = put(p, kBytesEnd);
  p = put_comment(p, note);
  *p++ = '\n';
  used_ += static_cast<size_t>(p - start);
  if (used_ >= kPieceSize) flush();
}

// A block for at least size characters, the lines made so far kept.
void SymTextWriter::grow(size_t size) {
  ByteBlock larger(std::max(size, kTextBlock));
  if (used_ > 0) std::memcpy(larger.data(), text_.data(), used_);
  text_ = std::move(larger);
}

void SymTextWriter::flush() {
  out_.write(std::string_view(reinterpret_cast<const char*>(text_.data()), used_));
  used_ = 0;
}

void SymTextWriter::finish() {
  flush();
}

void write_sym_file(const SymFile& sym, OutFile& out) {
  SymbolPacker packer(sym.layout, sym.form);
  SymTextWriter text(out, sym.info, sym.form.bpp, sym.layout.height);
  for (size_t i = 0; i < sym.glyphs.size(); ++i)
    text.add(sym.layout.cells[i].width, packer.pack(sym.glyphs[i], sym.levels, sym.layout.cells[i]),
             sym.note(i));
  text.finish();
}

}  // namespace tralk::importer
