#include "import/fonts/sym_text.h"

#include "base/text.h"

namespace tralk::importer {

namespace {

void append_number(FileText& out, uint32_t v) {
  char digits[10];
  char* end = digits + sizeof digits;
  char* p = end;
  do {
    *--p = static_cast<char>('0' + v % 10);
    v /= 10;
  } while (v);
  out.append(p, static_cast<size_t>(end - p));
}

// "0xAB", appended whole: this runs for every pixel byte of a font.
void append_byte(FileText& out, uint8_t b) {
  const char text[4] = {'0', 'x', hex_digit_upper(b >> 4u), hex_digit_upper(b)};
  out.append(text, sizeof text);
}

// ",0xAB" for each byte after the first: five characters at once into room
// made beforehand.
void append_bytes(FileText& out, const uint8_t* p, uint32_t n) {
  if (n == 0) return;
  append_byte(out, p[0]);
  const size_t at = out.size();
  out.resize(at + size_t{n - 1} * 5);
  char* q = out.data() + at;
  for (uint32_t k = 1; k < n; ++k, q += 5) {
    q[0] = ',';
    q[1] = '0';
    q[2] = 'x';
    q[3] = hex_digit_upper(p[k] >> 4u);
    q[4] = hex_digit_upper(p[k]);
  }
}

void append_header(FileText& out, const PackedSymbols& s, uint32_t width) {
  out += "{{";
  if (s.bpp != 1) {
    out += "0,";
    append_number(out, s.bpp);
    out += ',';
  }
  append_number(out, width);
  out += ',';
  append_number(out, s.height);
  out += "},{";
}

// text with control characters replaced by "?", safe in a line comment.
std::string comment_safe(const std::string& text) {
  std::string out = text;
  for (char& c : out)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  return out;
}

}  // namespace

FileText sym_text(const PackedSymbols& symbols, const SymTextInfo& info) {
  FileText out;
  out += info.cp_name.empty() ? "// tralk symbol font without a codepage\n"
                              : "// CP<" + info.cp_name + ">\n";
  for (const std::string& line : info.comments) out += "// " + comment_safe(line) + "\n";
  // Five characters a byte ("0xAB,"), plus headers and notes.
  out.reserve(out.size() + symbols.bytes.size() * 5 + symbols.widths.size() * 48);
  for (size_t i = 0; i < symbols.widths.size(); ++i) {
    append_header(out, symbols, symbols.widths[i]);
    append_bytes(out, symbols.symbol(i), symbols.symbytes);
    out += "}},";
    if (i < info.notes.size()) {
      out += " // ";
      out += comment_safe(info.notes[i]);
    }
    out += '\n';
  }
  return out;
}

}  // namespace tralk::importer
