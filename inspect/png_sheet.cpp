#include "inspect/png_sheet.h"

#include <png.h>

#include <algorithm>
#include <string_view>

#include "base/file_set.h"
#include "base/text.h"
#include "inspect/labels.h"

namespace tralk::inspector {

namespace {

using ull = unsigned long long;

bool drawable(const FontRecord& f) {
  return f.drawable && !f.widths.empty();
}

std::string label_of(size_t font, const std::vector<std::string>* names) {
  return names ? (*names)[font] : "font block " + std::to_string(font);
}

// Places the labels and symbols of fonts at scale s, font by font; layout
// may be none when only the extent is wanted.
Extent place_symbols(const InspectResult& result, const std::vector<size_t>& fonts, uint32_t s,
                     const std::vector<std::string>* names, SheetLayout* layout) {
  const uint32_t ls = sheet_label_scale(s);
  uint64_t y = kSheetMargin;
  uint64_t width = 0;
  for (const size_t n : fonts) {
    const FontRecord& f = result.fonts[n];
    std::string label = label_of(n, names);
    width = std::max(width, kSheetMargin + label_width(label, ls) + kSheetMargin);
    if (layout)
      layout->labels.push_back({n, kSheetMargin, static_cast<uint32_t>(y), std::move(label)});
    y += label_height(ls) + kSheetLabelGap;
    for (size_t first = 0; first < f.widths.size(); first += kSheetSymbolsPerLine) {
      const size_t last = std::min<size_t>(first + kSheetSymbolsPerLine, f.widths.size());
      uint64_t x = kSheetMargin;
      for (size_t i = first; i < last; ++i) {
        if (layout)
          layout->places.push_back({n, i, static_cast<uint32_t>(x), static_cast<uint32_t>(y)});
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
Status png_to_memory(const RgbPicture& picture, void* memory, png_alloc_size_t& size) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  png.width = picture.width;
  png.height = picture.height;
  png.format = PNG_FORMAT_RGB;
  if (png_image_write_to_memory(&png, memory, &size, 0, picture.rgb.data(), 0, nullptr)) return {};
  Failure failed{Fault::too_large, png.message};
  png_image_free(&png);
  return failed;
}

uint32_t auto_scale(const InspectResult& result, const std::vector<size_t>& fonts,
                    const std::vector<std::string>* names) {
  uint32_t tallest = 1;
  for (const size_t n : fonts) tallest = std::max<uint32_t>(tallest, result.fonts[n].symheight);
  uint32_t s = std::clamp<uint32_t>(kAutoHeight / tallest, 1, kAutoMaxScale);
  while (s > 1 && !place_symbols(result, fonts, s, names, nullptr).fits()) --s;
  return s;
}

}  // namespace

Outcome<SheetLayout> sheet_layout(const InspectResult& result, std::optional<size_t> only,
                                  uint32_t scale, const std::vector<std::string>* names) {
  std::vector<size_t> fonts;
  for (size_t n = 0; n < result.fonts.size(); ++n)
    if ((!only || *only == n) && drawable(result.fonts[n])) fonts.push_back(n);
  if (fonts.empty())
    return Failure{Fault::not_found,
                   only ? strf("font block %zu has no symbols that can be drawn", *only)
                        : std::string("the image has no symbols that can be drawn")};
  const uint32_t s = scale ? scale : auto_scale(result, fonts, names);
  const Extent e = place_symbols(result, fonts, s, names, nullptr);
  if (!e.fits())
    return Failure{Fault::too_large,
                   strf("a contact sheet at scale %u would be %llu x %llu pixels, too large", s,
                        ull(e.width), ull(e.height))};
  SheetLayout layout{static_cast<uint32_t>(e.width), static_cast<uint32_t>(e.height), s, {}, {}};
  place_symbols(result, fonts, s, names, &layout);
  return layout;
}

RgbPicture draw_sheet(const InspectResult& result, const SheetLayout& layout,
                      const ReadingOptions& opts) {
  RgbPicture img;
  img.resize(layout.width, layout.height);
  img.fill(kSheetBackground);
  const uint32_t s = layout.scale;
  for (const SheetLabel& label : layout.labels)
    draw_label(img, label.x, label.y, sheet_label_scale(s), label.text, kSheetLabelColour);
  for (const SheetPlace& p : layout.places) {
    const FontRecord& f = result.fonts[p.font];
    const PixelReading reading = choose_reading(f, opts);
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

Outcome<std::vector<uint8_t>> png_encode(const RgbPicture& picture) {
  // The first pass, without memory, only measures.
  png_alloc_size_t size = 0;
  if (Status measured = png_to_memory(picture, nullptr, size); !measured.ok())
    return measured.failure();
  std::vector<uint8_t> bytes(size);
  if (Status encoded = png_to_memory(picture, bytes.data(), size); !encoded.ok())
    return encoded.failure();
  bytes.resize(size);
  return bytes;
}

Status png_write(const RgbPicture& picture, const std::string& path) {
  const Outcome<std::vector<uint8_t>> bytes = png_encode(picture);
  if (!bytes.ok()) return bytes.failure();
  return write_file_set({PendingFile(
      path, std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()))});
}

}  // namespace tralk::inspector
