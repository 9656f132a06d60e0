// Fuzzes the .cp reader: the input is the whole codepage file.
#include <cstddef>
#include <cstdint>
#include <string>

#include "font_checks.h"
#include "fonts/cp_load.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::detach_stdin();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::Scratch::get().write("f.cp", data, size);
  fuzz::QuietConsole console;
  std::unique_ptr<CPTABLE> table = cp_load(path.c_str());
  const std::string out = console.take();
  if (!table) {
    fuzz::check(out == "\n Syntax error in .cp file \"" + path + "\"",
                "a failed codepage load printed something unexpected");
    return 0;
  }
  fuzz::check(out.empty(), "a successful load printed something");
  // The codepage travels with a font into the image.
  SYMFONT font;
  font.symwidth = 8;
  font.symheight = 1;
  font.symbytes = 1;
  font.numsym = 1;
  font.symdata = {8, 0, 1, 0, 0x55};
  font.codepage = std::move(table);
  fuzz::exercise_font(font);
  return 0;
}
