#include "import/fonts/sym_file.h"

namespace tralk::importer {

void write_sym_file(const SymFile& sym, OutFile& out) {
  SymbolPacker packer(sym.layout, sym.form);
  SymTextWriter text(out, sym.info, sym.form.bpp, sym.layout.height);
  for (size_t i = 0; i < sym.glyphs.size(); ++i)
    text.add(sym.layout.cells[i].width, packer.pack(sym.glyphs[i], sym.levels, sym.layout.cells[i]),
             sym.note(i));
  text.finish();
}

}  // namespace tralk::importer
