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

STUB(SymFontPtr bmp_load(const char*, const RGBTRIPLET*, uint32_t), "bmp_load")
