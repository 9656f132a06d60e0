#include "import/fonts/names_header.h"

#include <filesystem>
#include <map>

#include "base/text.h"
#include "cli/utf8.h"
#include "import/fonts/code_ranges.h"

namespace tralk::importer {

namespace {

bool is_identifier_char(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// A C string literal of the UTF-8 bytes of code, every byte escaped:
// "\xEF\x87\xAB".
std::string utf8_literal(uint16_t code) {
  std::string out = "\"";
  for (const char byte : cli::utf8_encode(code))
    out += "\\x" + hex_upper(static_cast<unsigned char>(byte), 2);
  return out + "\"";
}

// The include guard of the header: TRALK_NAMES_ and its file name.
std::string guard(const std::string& header_path) {
  std::string name = std::filesystem::path(header_path).filename().string();
  std::string out = "TRALK_NAMES_";
  for (const char c : name) out += is_identifier_char(c) ? ascii_upper(c) : '_';
  return out;
}

// Every macro the glyphs give, refusing two of one spelling.
Status check_clashes(const std::vector<NamedGlyph>& glyphs, const std::string& header_path) {
  std::map<std::string, const std::string*> macros;
  for (const NamedGlyph& g : glyphs) {
    const std::string macro = icon_macro(g.name);
    for (const std::string& m : {macro, macro + "_CODE"}) {
      const auto [at, added] = macros.emplace(m, &g.name);
      if (!added)
        return Failure{Fault::format, "glyph names " + in_quotes(*at->second) + " and " +
                                          in_quotes(g.name) + " both make " + m + " in " +
                                          in_quotes(header_path) +
                                          ": leave one out or rename it in a names file"};
    }
  }
  return {};
}

}  // namespace

std::string icon_macro(const std::string& name) {
  std::string out = "ICON_";
  for (const char c : name) out += is_identifier_char(c) ? ascii_upper(c) : '_';
  return out;
}

Outcome<std::string> names_header_text(const std::vector<NamedGlyph>& glyphs,
                                       const std::string& header_path,
                                       const std::string& sym_name) {
  if (Status checked = check_clashes(glyphs, header_path); !checked.ok()) return checked.failure();
  const std::string g = guard(header_path);
  std::string out = "/* Made by tralk-import: the glyphs of " + in_quotes(sym_name) +
                    " taken by name, each as the\n   text that draws it (its code in UTF-8) "
                    "and its code. */\n#ifndef " +
                    g + "\n#define " + g + "\n\n";
  for (const NamedGlyph& glyph : glyphs) {
    const std::string macro = icon_macro(glyph.name);
    out += "#define " + macro + " " + utf8_literal(glyph.code) + "\n#define " + macro + "_CODE " +
           hex4(glyph.code) + "\n";
  }
  return out + "\n#endif\n";
}

}  // namespace tralk::importer
