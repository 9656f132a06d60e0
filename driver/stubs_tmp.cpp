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

STUB(void lex_open(std::FILE*, bool), "lex_open")
STUB(int lex_getc(), "lex_getc")
STUB(void lex_ungetc(), "lex_ungetc")
STUB(int lex_skip(), "lex_skip")
STUB(long lex_number(), "lex_number")
STUB(const char* lex_name(), "lex_name")
STUB(bool lex_name_rejected(), "lex_name_rejected")
STUB(const char* lex_readline(std::FILE*), "lex_readline")
STUB(const char* cfg_firstname(std::FILE*), "cfg_firstname")
STUB(const char* cfg_linearg(std::FILE*), "cfg_linearg")
STUB(std::optional<std::string> path_full(std::string_view), "path_full")
STUB(std::optional<std::string> path_setname(std::string_view, std::string_view), "path_setname")
STUB(std::optional<std::string> path_setext(std::string_view, std::string_view), "path_setext")
STUB(std::string path_base(std::string_view), "path_base")
STUB(std::string path_ext(std::string_view), "path_ext")
STUB(std::string path_ident(std::string_view), "path_ident")
STUB(std::string make_fontname(const std::optional<std::string>&, const std::optional<std::string>&), "make_fontname")
const char kPathSeparator = '/';
STUB(std::vector<std::string> plat_find_files(const std::string&), "plat_find_files")
STUB(std::optional<std::string> plat_full_path(const std::string&), "plat_full_path")
STUB(bool plat_chdir(const std::string&), "plat_chdir")
STUB(void plat_wait_key(), "plat_wait_key")
STUB(int tralk_main(int, char**), "tralk_main")
