// The one FreeType library of a font fuzzer's process, opened on first use.
#pragma once

#include <utility>

#include "fuzz_support.h"
#include "import/fonts/freetype_handles.h"

namespace fuzz {

inline FT_Library freetype_library() {
  static const tralk::importer::FtLibrary lib = [] {
    Outcome<tralk::importer::FtLibrary> l = tralk::importer::ft_open_library();
    if (!l.ok()) fail("FreeType cannot be started");
    return std::move(l.value());
  }();
  return lib.get();
}

}  // namespace fuzz
