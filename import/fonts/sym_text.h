// The text of a .sym file: a first line naming the codepage, comment lines
// saying where the font came from, then one line per symbol with its header
// ({width,height} for b&w, {0,bits,width,height} for grey levels), its pixel
// bytes and a comment naming its character.
#pragma once

#include <string>
#include <vector>

#include "base/file_set.h"
#include "import/fonts/symbol_pack.h"

namespace tralk::importer {

struct SymTextInfo {
  std::string cp_name;                // empty: no codepage
  std::vector<std::string> comments;  // lines after the first, without "// "
  std::vector<std::string> notes;     // one per symbol, after its bytes
};

FileText sym_text(const PackedSymbols& symbols, const SymTextInfo& info);

}  // namespace tralk::importer
