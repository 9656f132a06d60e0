#include "inspect/png_sheet.h"

#include <png.h>

#include <algorithm>
#include <string_view>

#include "base/outfile.h"
#include "base/text.h"

namespace {

using ull = unsigned long long;

bool drawable(const FontRecord& f) {
  return f.drawable && !f.widths.empty();
}

// Places the symbols of fonts at scale s, row by row; places may be none
// when only the extent is wanted.
Extent place_symbols(const InspectResult& result, const std::vector<size_t>& fonts, uint32_t s,
                     std::vector<SymbolPlace>* places) {
  uint64_t y = kSheetMargin;
  uint64_t width = 0;
  for (const size_t n : fonts) {
    const FontRecord& f = result.fonts[n];
    for (size_t first = 0; first < f.widths.size(); first += kSheetSymbolsPerLine) {
      const size_t last = std::min<size_t>(first + kSheetSymbolsPerLine, f.widths.size());
      uint64_t x = kSheetMargin;
      for (size_t i = first; i < last; ++i) {
        if (places) places->push_back({n, i, static_cast<uint32_t>(x), static_cast<uint32_t>(y)});
        x += uint64_t{f.widths[i]} * s + kSheetGap;
      }
      width = std::max(width, x - kSheetGap + kSheetMargin);
      y += uint64_t{f.symheight} * s + kSheetRowGap;
    }
  }
  return {width, y - kSheetRowGap + kSheetMargin};
}

// One run of libpng's simplified writer into memory (or, with none, a
// measurement of the bytes needed).
bool png_to_memory(const RgbImage& image, void* memory, png_alloc_size_t& size,
                   std::string& error) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  png.width = image.width;
  png.height = image.height;
  png.format = PNG_FORMAT_RGB;
  if (png_image_write_to_memory(&png, memory, &size, 0, image.rgb.data(), 0, nullptr)) return true;
  error = png.message;
  png_image_free(&png);
  return false;
}

uint32_t auto_scale(const InspectResult& result, const std::vector<size_t>& fonts) {
  uint32_t tallest = 1;
  for (const size_t n : fonts) tallest = std::max<uint32_t>(tallest, result.fonts[n].symheight);
  uint32_t s = std::clamp<uint32_t>(kAutoHeight / tallest, 1, kAutoMaxScale);
  while (s > 1 && !place_symbols(result, fonts, s, nullptr).fits()) --s;
  return s;
}

}  // namespace

void RgbImage::fill(RGBTRIPLET c) {
  for (size_t i = 0; i + 2 < rgb.size(); i += 3) {
    rgb[i] = c.r;
    rgb[i + 1] = c.g;
    rgb[i + 2] = c.b;
  }
}

bool sheet_layout(const InspectResult& result, std::optional<size_t> only, uint32_t scale,
                  SheetLayout& layout, std::string& error) {
  std::vector<size_t> fonts;
  for (size_t n = 0; n < result.fonts.size(); ++n)
    if ((!only || *only == n) && drawable(result.fonts[n])) fonts.push_back(n);
  if (fonts.empty()) {
    error = only ? strf("font block %zu has no symbols that can be drawn", *only)
                 : std::string("the image has no symbols that can be drawn");
    return false;
  }
  const uint32_t s = scale ? scale : auto_scale(result, fonts);
  const Extent e = place_symbols(result, fonts, s, nullptr);
  if (!e.fits()) {
    error = strf("a contact sheet at scale %u would be %llu x %llu pixels, too large", s,
                 ull(e.width), ull(e.height));
    return false;
  }
  layout = SheetLayout{static_cast<uint32_t>(e.width), static_cast<uint32_t>(e.height), s, {}};
  place_symbols(result, fonts, s, &layout.places);
  return true;
}

RgbImage draw_sheet(const InspectResult& result, const SheetLayout& layout,
                    const ReadingOptions& opts) {
  RgbImage img{layout.width, layout.height, {}};
  img.rgb.resize(size_t{img.width} * img.height * 3);
  img.fill(kSheetBackground);
  const uint32_t s = layout.scale;
  for (const SymbolPlace& p : layout.places) {
    const FontRecord& f = result.fonts[p.font];
    const PixelReading reading = choose_reading(f.numbits, opts);
    const uint32_t width = f.widths[p.symbol];
    const uint32_t rows = font_drawn_rows(f, p.symbol);
    for (uint32_t y = 0; y < rows; ++y)
      for (uint32_t x = 0; x < width; ++x) {
        const RGBTRIPLET c = pixel_rgb(font_pixel(f, p.symbol, x, y), font_depth(f), reading, opts);
        for (uint32_t dy = 0; dy < s; ++dy)
          for (uint32_t dx = 0; dx < s; ++dx) img.set(p.x + x * s + dx, p.y + y * s + dy, c);
      }
  }
  return img;
}

bool png_encode(const RgbImage& image, std::vector<uint8_t>& out, std::string& error) {
  // The first pass, without memory, only measures.
  png_alloc_size_t size = 0;
  if (!png_to_memory(image, nullptr, size, error)) return false;
  out.resize(size);
  if (!png_to_memory(image, out.data(), size, error)) return false;
  out.resize(size);
  return true;
}

bool png_write(const RgbImage& image, const std::string& path, std::string& error) {
  std::vector<uint8_t> bytes;
  if (!png_encode(image, bytes, error)) return false;
  SetLock lock({path});
  OutFile file;
  if (file.open(lock, path, true)) {
    file.write(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    if (file.commit()) return true;
  }
  error = strf("cannot write \"%s\"", path.c_str());
  return false;
}
