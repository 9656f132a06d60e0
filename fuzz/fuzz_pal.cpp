// Fuzzes the .pal reader: the input is the whole palette file.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fonts/pal_load.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::detach_stdin();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::Scratch::get().write("f.pal", data, size);
  fuzz::QuietConsole console;
  std::string name = "stale";
  uint32_t count = 12345;
  PalTablePtr table = pal_load(path.c_str(), &name, &count);
  const std::string out = console.take();
  if (!table) {
    fuzz::check(name == "stale" && count == 12345, "a failed load wrote its outputs");
    fuzz::check(out == "\n Syntax error in pal file \"" + path + "\"",
                "a failed palette load printed something unexpected");
    return 0;
  }
  fuzz::check(out.empty(), "a successful load printed something");
  fuzz::check(name == "f", "wrong palette name");
  fuzz::check(count >= 1 && count <= kMaxPaletteEntries, "palette entry count out of range");
  fuzz::check(count == table->entries.size(), "palette count and entries disagree");
  return 0;
}
