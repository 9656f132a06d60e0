// Fuzzes the .pal reader: the input is the whole palette file.
#include <cstddef>
#include <cstdint>

#include "fonts/pal_load.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::detach_stdin();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Outcome<PALTABLE> table = pal_load(TextBytes(data, size));
  if (!table.ok()) {
    fuzz::check(table.code() == Fault::format && table.failure().at.line >= 1,
                "a refused palette without its line");
    return 0;
  }
  const size_t count = table->entries.size();
  fuzz::check(count >= 1 && count <= kMaxPaletteEntries, "palette entry count out of range");
  return 0;
}
