// Fuzzes tralk-import on font files: the input's first byte picks the
// options (depth, hinting, cell height, encoding, size), the rest is the
// font file. Reading the font is FreeType's work; everything after it is
// ours: whatever FreeType hands out, the import either fails with a reason
// or writes a .sym and a .cp file that the generator's own readers take.
// A font imported so is imported again by glyph names, with a names header.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "base/fileio.h"
#include "font_checks.h"
#include "fonts/sym_load.h"
#include "freetype_library.h"
#include "fuzz_support.h"
#include "import/fonts/font_import.h"
#include "import/fonts/font_list.h"
#include "import/fonts/import_files.h"

namespace {

using namespace tralk::importer;

constexpr size_t kLargestReadBack = size_t{4} << 20;

FontOptions options_from(uint8_t b, const std::string& font, const std::string& out) {
  FontOptions opts;
  opts.font = font;
  opts.out = out;
  opts.cp_name = "o.cp";
  opts.ranges = {{0, 0xFF, 0}, {0x400, 0x40F, 0x400}};
  static const unsigned kDepths[] = {1, 2, 4, 8};
  opts.bpp = kDepths[b & 3];
  opts.invert = opts.bpp != 1 && (b & 0x80);
  opts.hinting = static_cast<Hinting>((b >> 2) % 3);
  opts.height = (b & 0x10) ? CellHeight::font : CellHeight::ink;
  if (b & 0x20) opts.encoding.kind = tralk::cli::EncodingKind::native;
  // A bitmap font of one strike needs no size; an outline font does.
  if (b & 0x40) opts.size = (b & 0x80) ? 12 : 7;
  return opts;
}

// The files written must be fonts the generator reads.
void check_outputs(const std::string& sym_path, size_t symbols) {
  fuzz::QuietConsole console;
  SymFontPtr font = sym_load(sym_path.c_str());
  const std::string out = console.take();
  if (!font) fuzz::fail(("the .sym reader refused an imported font:" + out).c_str());
  fuzz::check(font->numsym == symbols, "the .sym file holds another number of symbols");
  fuzz::check(font->codepage != nullptr, "the imported font's codepage was not read");
  fuzz::exercise_font(*font);
}

// The same font by glyph names, common ones and one that no font has (whose
// refusal looks through every name of the font for the closest).
void check_names(const FontOptions& by_codes) {
  FontOptions opts = by_codes;
  opts.ranges.clear();
  opts.encoding = tralk::cli::Encoding{};
  for (const char* name : {"space", "A", "uni0041", "zz-none"})
    opts.names.push_back({name, std::nullopt, ""});
  opts.names_header = (std::filesystem::path(opts.out).parent_path() / "n.h").string();
  const Outcome<ImportResult> imported = import_font(fuzz::freetype_library(), opts);
  if (!imported.ok()) {
    fuzz::check(!imported.error().empty() && imported.error().find('\n') == std::string::npos,
                "an import by names failed without a one-line reason");
    fuzz::check(imported.code() != Fault::usage, "names the harness gave refused as usage");
    return;
  }
  // "zz-none" is no font's name, unless a font names a glyph so.
  fuzz::check(imported->files.size() == 2 && imported->files[1].content.starts_with("/* Made by"),
              "an import by names without its header");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::detach_stdin();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const fuzz::Scratch& scratch = fuzz::Scratch::get();
  scratch.clear();
  const std::string font = scratch.write("f.font", data + 1, size - 1);
  const std::string out = (scratch.dir() / "o.sym").string();
  const Outcome<std::string> listing = list_font(fuzz::freetype_library(), font);
  if (!listing.ok())
    fuzz::check(!listing.error().empty(), "a font refused for listing without a reason");

  const Outcome<ImportResult> imported =
      import_font(fuzz::freetype_library(), options_from(data[0], font, out));
  if (!imported.ok()) {
    fuzz::check(!imported.error().empty() && imported.error().find('\n') == std::string::npos,
                "an import failed without a one-line reason");
    fuzz::check(imported.code() != Fault::usage, "options the harness made refused as usage");
    return 0;
  }
  const ImportResult& result = imported.value();
  fuzz::check(result.files.size() == 1, "an import made other than a .sym and a .cp file");
  if (!write_import_files(result).ok()) fuzz::fail("the scratch folder cannot be written");
  // A damaged font can give symbols of a few hundred pixels each way, whose
  // text the instrumented reader would take seconds over; those are
  // written by the same code as the small ones.
  std::error_code ec;
  const uintmax_t sym_size = std::filesystem::file_size(out, ec);
  if (ec) fuzz::fail("the .sym file was not written");
  if (sym_size > kLargestReadBack) return 0;
  const Outcome<FileBytes> written = read_whole_file(out);
  if (!written.ok()) fuzz::fail("the .sym file written cannot be read");
  const std::string_view sym(reinterpret_cast<const char*>(written->data()), written->size);
  size_t symbols = 0;
  for (size_t at = 0; (at = sym.find("\n{{", at)) != std::string::npos; ++at) ++symbols;
  check_outputs(out, symbols);
  check_names(options_from(data[0], font, out));
  return 0;
}
