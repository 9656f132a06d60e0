// Fuzzes the .sym reader: the input is the whole .sym file. A valid codepage
// "a.cp" stands beside it, so a first line naming CP<a.cp> loads one; any
// other name exercises the failing codepage path.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "font_checks.h"
#include "fonts/sym_load.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::detach_stdin();
  fuzz::Scratch::get().write("a.cp", "{2, 32},{{32, 126, 0},{160, 255, 95}}");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fuzz::Scratch& scratch = fuzz::Scratch::get();
  const std::string path = scratch.write("f.sym", data, size);
  fuzz::QuietConsole console;
  std::optional<std::string> cpname = "stale";
  std::optional<std::string> palname = "stale";
  SymFontPtr font = sym_load(path.c_str(), &cpname, &palname);
  const std::string out = console.take();
  if (!font) {
    fuzz::check(!cpname && !palname, "a failed load handed out marker names");
    fuzz::check(out.size() > path.size() && out.ends_with(" in sym file \"" + path + "\""),
                "a failed load did not end with the file name");
    return 0;
  }
  fuzz::check(out.empty(), "a successful load printed something");
  fuzz::check(cpname.has_value() == (font->codepage != nullptr), "codepage and its name disagree");
  fuzz::exercise_font(*font);
  return 0;
}
