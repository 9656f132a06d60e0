// Temporary: fails loudly until the real implementations land.
#include <cstdio>
#include <cstdlib>

#include "bitmap/bmp_load.h"
#include "driver/driver.h"
#include "driver/lex.h"
#include "driver/path.h"
#include "driver/platform.h"
#include "fonts/cp_load.h"
#include "fonts/pal_load.h"
#include "fonts/sym_load.h"
#include "output/outfile.h"
#include "output/vfont.h"
#include "output/vmem.h"

[[noreturn]] static void unbuilt(const char* what) {
  std::fprintf(stderr, "not built yet: %s\n", what);
  std::abort();
}
#define STUB(sig, name) \
  sig { unbuilt(name); }

STUB(SymFontPtr sym_load(const char*, std::optional<std::string>*, std::optional<std::string>*), "sym_load")
STUB(std::unique_ptr<CPTABLE> cp_load(const char*), "cp_load")
STUB(PalTablePtr pal_load(const char*, std::string*, uint32_t*), "pal_load")
