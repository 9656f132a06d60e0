// Fuzzes the console font reader (PSF1, PSF2, gzipped or not): whatever the
// bytes, it either refuses them with a one-line reason or gives a font whose
// sizes its bytes hold and whose table names only its own glyphs, and the
// BDF text made of it is a font FreeType opens with one glyph a character.
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "freetype_library.h"
#include "fuzz_support.h"
#include "import/fonts/freetype_handles.h"
#include "import/fonts/gzip_bytes.h"
#include "import/fonts/psf_font.h"

namespace {

using namespace tralk::importer;

// A gzipped input is unpacked to at most this much.
constexpr size_t kUnpackLimit = size_t{1} << 20;

void check_font(const PsfFont& font) {
  fuzz::check(font.width >= 1 && font.height >= 1 && font.glyphs >= 1, "an empty glyph size");
  fuzz::check(font.bitmaps.size() == size_t{font.glyphs} * font.height * font.row_bytes(),
              "bitmaps of another size than the header's");
  for (const PsfChar& c : font.chars)
    fuzz::check(c.glyph < font.glyphs && c.c <= 0x10FFFF, "a table entry beyond the font");
  if (font.glyphs > 2048 || uint64_t{font.width} * font.height > 4096) return;
  auto file = std::make_shared<FontFile>();
  file->converted = psf_as_bdf(font, "fuzz");
  const Outcome<FtFace> face = ft_open_face(fuzz::freetype_library(), file, 0);
  fuzz::check(face.ok(), "FreeType refused the BDF text of a console font");
  fuzz::check(face.value()->num_fixed_sizes == 1, "the BDF text has other than one strike");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FileBytes unpacked;
  if (is_gzip(data, size)) {
    Outcome<FileBytes> u = gunzip(data, size, kUnpackLimit);
    if (!u.ok()) {
      fuzz::check(!u.error().empty() && u.error().find('\n') == std::string::npos,
                  "gunzip failed without a one-line reason");
      return 0;
    }
    unpacked = std::move(u.value());
    data = unpacked.data();
    size = unpacked.size;
  }
  const Outcome<PsfFont> font = read_psf(data, size);
  if (!font.ok()) {
    fuzz::check(!font.error().empty() && font.error().find('\n') == std::string::npos,
                "a console font refused without a one-line reason");
    return 0;
  }
  check_font(font.value());
  return 0;
}
