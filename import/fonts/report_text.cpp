#include "import/fonts/report_text.h"

#include <algorithm>

#include "base/text.h"
#include "import/fonts/code_ranges.h"

namespace tralk::importer {

namespace {

// Runs of codes named in one list; the rest are counted.
constexpr size_t kListedRuns = 20;

}  // namespace

std::string plural(size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

// "0x0043, 0x0080-0x0081", shortened to the first runs.
std::string code_runs(const std::vector<uint16_t>& codes) {
  std::string out;
  size_t runs = 0;
  for (size_t i = 0; i < codes.size();) {
    size_t j = i;
    while (j + 1 < codes.size() && codes[j + 1] == codes[j] + 1) ++j;
    if (runs++ < kListedRuns)
      out += (i ? ", " : "") + hex4(codes[i]) + (j > i ? "-" + hex4(codes[j]) : "");
    i = j + 1;
  }
  if (runs > kListedRuns) out += " and " + plural(runs - kListedRuns, "more run", "more runs");
  return out;
}

std::string font_line(const FontFace& font, uint32_t face) {
  return in_quotes(font.path) + " face " + std::to_string(face) + ": " +
         face_name(font.face.get(), font.path) + ", " + std::to_string(font.pixel_size) + " px" +
         (font.strike ? " strike" : "") +
         (font.charset.empty() ? "" : ", charset " + font.charset + " through iconv");
}

std::string depth_words(unsigned bpp, bool invert) {
  if (bpp == 1) return "1 bit per pixel (b&w, a set bit is ink)";
  return std::to_string(bpp) + " bits per pixel (grey levels, 0 black, ink " +
         (invert ? "light)" : "dark)");
}

std::string shape_line(const CellLayout& layout, uint32_t symbytes) {
  const auto [narrow, wide] = std::minmax_element(
      layout.cells.begin(), layout.cells.end(),
      [](const SymbolCell& a, const SymbolCell& b) { return a.width < b.width; });
  return plural(layout.cells.size(), "symbol", "symbols") + ", " + std::to_string(layout.height) +
         " rows (" + std::to_string(layout.ascent) + " above the baseline), " +
         (narrow->width == wide->width
              ? std::to_string(wide->width)
              : std::to_string(narrow->width) + " to " + std::to_string(wide->width)) +
         " pixels wide, " + std::to_string(symbytes) + " bytes each";
}

}  // namespace tralk::importer
