// Fuzzes the .sym reader: the input is the whole .sym file. A font read
// goes on through the image and C writers; a failure says where it lies.
#include <cstddef>
#include <cstdint>

#include "font_checks.h"
#include "fonts/sym_load.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::detach_stdin();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Outcome<SymLoaded> read = sym_load(TextBytes(data, size));
  if (!read.ok()) {
    fuzz::check(read.code() == Fault::format || read.code() == Fault::too_large,
                "a refused font with an unexpected fault");
    fuzz::check(read.failure().at.line >= 1, "a syntax error without its line");
    fuzz::check(read.error().empty(), "a reader worded its failure");
    return 0;
  }
  fuzz::check(read->font->numsym >= 1, "a font without symbols");
  fuzz::exercise_font(*read->font);
  return 0;
}
