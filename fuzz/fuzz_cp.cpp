// Fuzzes the .cp reader: the input is the whole codepage file.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "font_checks.h"
#include "fonts/cp_load.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::detach_stdin();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Outcome<CPTABLE> table = cp_load(TextBytes(data, size));
  if (!table.ok()) {
    fuzz::check(table.code() == Fault::format && table.failure().at.line >= 1,
                "a refused codepage without its line");
    return 0;
  }
  fuzz::check(table->ranges.size() == 3u * table->numranges, "ranges and their count disagree");
  // The codepage travels with a font into the image.
  SYMFONT font;
  font.symwidth = 8;
  font.symheight = 1;
  font.symbytes = 1;
  font.numsym = 1;
  font.symdata = {8, 0, 1, 0, 0x55};
  font.codepage = std::make_unique<CPTABLE>(std::move(table.value()));
  fuzz::exercise_font(font);
  return 0;
}
