// Fuzzes the inspector's image parser: the input is a whole virtual font
// image. Every symbol the parser hands out is drawn pixel by pixel and
// rendered as text, the way the inspector shows it, so that a record that
// promises more bytes than it holds is caught.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "inspect/image_reader.h"
#include "inspect/render_text.h"

namespace {

using namespace tralk::inspector;

void check_font(const FontRecord& f) {
  fuzz::check(f.pixels.size() == f.widths.size() * size_t{f.symbytes},
              "pixel bytes do not match the symbols listed");
  if (f.has_codepage)
    fuzz::check(f.ranges.size() == f.numranges, "codepage ranges do not match their count");
  uint32_t sum = 0;
  for (size_t i = 0; i < f.widths.size(); ++i) {
    const uint32_t rows = font_drawn_rows(f, i);
    fuzz::check(uint64_t{font_rowbytes(f, i)} * rows <= f.symbytes, "rows drawn beyond a symbol");
    for (uint32_t y = 0; y < rows; ++y) {
      for (uint32_t x = 0; x < f.widths[i]; ++x) sum += font_pixel(f, i, x, y);
    }
  }
  // Keeps the reads from being optimised away.
  if (sum == 0xFFFFFFFFu) std::fprintf(stderr, " ");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::detach_stdin();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const InspectResult result = inspect_image(data, size);
  fuzz::check(result.size == size, "image size misread");
  for (const FontRecord& f : result.fonts) check_font(f);
  const std::string table = format_table(result, "f.bin");
  const std::string problems = format_problems(result);
  fuzz::check(!table.empty() && !problems.empty(), "nothing to show");
  for (size_t n = 0; n < result.fonts.size(); ++n) render_font_text(result, n, ReadingOptions{});
  return 0;
}
