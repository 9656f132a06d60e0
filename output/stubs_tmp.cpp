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

STUB(VmemBufPtr vmem_addfont(VmemBufPtr, const SYMFONT&, uint32_t*, uint32_t*), "vmem_addfont")
STUB(VmemBufPtr vmem_reserve(VmemBufPtr, uint32_t), "vmem_reserve")
STUB(void vmem_put32(VMEMBUF&, uint32_t), "vmem_put32")
STUB(void vmem_set32(VMEMBUF&, uint32_t, uint32_t), "vmem_set32")
STUB(void vmem_free(VmemBufPtr), "vmem_free")
STUB(bool vfont_generate(const FONTLIST&), "vfont_generate")
STUB(void vfont_writestruct(std::string&, const std::string&, const SYMFONT&, uint32_t, uint32_t, const std::string&), "vfont_writestruct")
STUB(OutFile::~OutFile(), "OutFile")
STUB(bool OutFile::open(const std::string&), "OutFile::open")
STUB(void OutFile::write(std::string_view), "OutFile::write")
STUB(bool OutFile::commit(), "OutFile::commit")
