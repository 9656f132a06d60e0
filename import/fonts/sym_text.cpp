#include "import/fonts/sym_text.h"

#include "base/text.h"

namespace tralk::importer {

namespace {

void append_number(std::string& out, uint32_t v) {
  out += std::to_string(v);
}

// "0xAB", appended whole: this runs for every pixel byte of a font.
void append_byte(std::string& out, uint8_t b) {
  const char text[4] = {'0', 'x', hex_digit_upper(b >> 4u), hex_digit_upper(b)};
  out.append(text, sizeof text);
}

void append_header(std::string& out, const PackedSymbols& s, uint32_t width) {
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

std::string sym_text(const PackedSymbols& symbols, const SymTextInfo& info) {
  std::string out = info.cp_name.empty() ? "// tralk symbol font without a codepage\n"
                                         : "// CP<" + info.cp_name + ">\n";
  for (const std::string& line : info.comments) out += "// " + comment_safe(line) + "\n";
  // Five characters a byte ("0xAB,"), plus headers and notes.
  out.reserve(out.size() + symbols.bytes.size() * 5 + symbols.widths.size() * 48);
  for (size_t i = 0; i < symbols.widths.size(); ++i) {
    append_header(out, symbols, symbols.widths[i]);
    const uint8_t* p = symbols.symbol(i);
    for (uint32_t k = 0; k < symbols.symbytes; ++k) {
      if (k) out += ',';
      append_byte(out, p[k]);
    }
    out += "}},";
    if (i < info.notes.size()) out += " // " + comment_safe(info.notes[i]);
    out += '\n';
  }
  return out;
}

}  // namespace tralk::importer
