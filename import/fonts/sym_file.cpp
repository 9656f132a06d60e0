#include "import/fonts/sym_file.h"

#include <algorithm>

namespace tralk::importer {

void write_sym_file(const SymFile& sym, OutFile& out) {
  const uint32_t bytes = symbol_bytes(sym.layout, sym.form.bpp);
  // The ink is put in place a word at a time: room after the last byte.
  std::vector<uint8_t> symbol(bytes + kBitRowSlack);
  SymTextWriter text(out, sym.info, sym.form.bpp, sym.layout.height);
  for (size_t i = 0; i < sym.glyphs.size(); ++i) {
    std::fill(symbol.begin(), symbol.begin() + bytes, 0);
    pack_symbol(sym.glyphs[i], sym.levels, sym.layout.cells[i], sym.layout, sym.form,
                symbol.data());
    text.add(sym.layout.cells[i].width, std::span(symbol.data(), bytes), sym.notes[i]);
  }
  text.finish();
}

}  // namespace tralk::importer
