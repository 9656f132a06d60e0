#include "inspect/strings_picture.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <utility>

#include "base/text.h"
#include "inspect/labels.h"
#include "inspect/png_sheet.h"
#include "inspect/text_picture.h"

namespace tralk::inspector {

namespace {

using ull = unsigned long long;

constexpr RGBTRIPLET kNoFitMark = kFellBackMark;
constexpr uint32_t kBarLeft = 2, kBarWidth = 4;  // in the margin before a string

std::string picture_label(const CheckedFont& font) {
  std::string label = font.name.empty() ? "font block " + std::to_string(font.block) : font.name;
  if (font.encoding && font.encoding->kind == cli::EncodingKind::code_page)
    label += " (" + font.encoding->name() + ")";
  return label;
}

// How a string that does not fit is marked: a bar, and the pixel limit it
// passes, if any.
struct Mark {
  std::optional<uint32_t> limit;
};

// One font's strings, as symbols, with the marks of those that do not fit.
struct FontStrings {
  std::vector<TextSymbols> strings;
  std::vector<std::optional<Mark>> marks;
};

FontStrings font_strings(const FontRecord& font, const CheckedFont& checked, size_t k,
                         const std::vector<text::Catalogue>& catalogues,
                         const StringsCheck& check) {
  std::map<std::pair<size_t, size_t>, Mark> marks;
  for (const Finding& f : check.findings) {
    const bool fit = f.kind == FindingKind::too_wide || f.kind == FindingKind::too_many_lines;
    if (!fit || (f.font && *f.font != k)) continue;
    Mark& mark = marks[{f.file, f.string}];
    if (f.kind == FindingKind::too_wide && f.unit == text::WidthUnit::pixel) mark.limit = f.limit;
  }
  FontStrings out;
  const cli::Encoding* encoding = checked.encoding ? &*checked.encoding : nullptr;
  for (size_t file = 0; file < catalogues.size(); ++file)
    for (size_t i = 0; i < catalogues[file].strings.size(); ++i) {
      out.strings.push_back(
          text_symbols(font, font_codes(string_chars(catalogues[file].strings[i]), encoding)));
      const auto mark = marks.find({file, i});
      out.marks.push_back(mark == marks.end() ? std::nullopt : std::optional(mark->second));
    }
  return out;
}

// The size of one string drawn, without draw_text's margin.
Extent string_extent(const FontRecord& font, const TextSymbols& text, uint32_t s,
                     const TextSpacing& spacing) {
  uint64_t widest = 0;
  for (const auto& line : text.lines)
    widest = std::max(widest, line_width(font, line, spacing.symbol));
  return {widest * s, text_height(font, text.lines.size(), spacing) * s};
}

Extent picture_extent(const InspectResult& result, const std::vector<CheckedFont>& fonts,
                      const std::vector<FontStrings>& strings, uint32_t s,
                      const TextSpacing& spacing) {
  const uint32_t ls = sheet_label_scale(s);
  uint64_t width = 0, y = kSheetMargin;
  for (size_t k = 0; k < fonts.size(); ++k) {
    const FontRecord& font = result.fonts[fonts[k].block];
    width = std::max(width, label_width(picture_label(fonts[k]), ls));
    y += label_height(ls) + kSheetLabelGap;
    for (const TextSymbols& text : strings[k].strings) {
      const Extent e = string_extent(font, text, s, spacing);
      width = std::max(width, e.width);
      y += e.height + kSheetGap;
    }
    y += kSheetRowGap - kSheetGap;
  }
  return {width + 2 * kSheetMargin, y - kSheetRowGap + kSheetMargin};
}

// Copies the picture that draw_text made, less its margin, to (left, top).
void blit_inner(const RgbPicture& from, uint32_t left, uint32_t top, RgbPicture& to) {
  const uint32_t w = from.width - 2 * kSheetMargin;
  for (uint32_t y = kSheetMargin; y + kSheetMargin < from.height; ++y)
    std::memcpy(to.row(top + y - kSheetMargin) + size_t{left} * 3,
                from.row(y) + size_t{kSheetMargin} * 3, size_t{w} * 3);
}

void draw_mark(const Mark& mark, uint32_t top, const Extent& e, uint32_t s, RgbPicture& img) {
  for (uint32_t y = top; y < top + e.height; ++y) {
    for (uint32_t x = kBarLeft; x < kBarLeft + kBarWidth; ++x) img.set(x, y, kNoFitMark);
    if (mark.limit && uint64_t{*mark.limit} * s < e.width)
      img.set(kSheetMargin + *mark.limit * s, y, kNoFitMark);
  }
}

}  // namespace

Outcome<StringsPicture> draw_strings_picture(const InspectResult& result,
                                             const std::vector<text::Catalogue>& catalogues,
                                             const std::vector<CheckedFont>& fonts,
                                             const StringsCheck& check, const TextSpacing& spacing,
                                             uint32_t scale, const ReadingOptions& opts) {
  std::vector<FontStrings> strings;
  uint32_t tallest = 1;
  for (size_t k = 0; k < fonts.size(); ++k) {
    const FontRecord& font = result.fonts[fonts[k].block];
    if (!font.drawable || choose_reading(font, opts) == PixelReading::none)
      return Failure{Fault::unsupported, "the font's symbols cannot be drawn (see the problems)"};
    strings.push_back(font_strings(font, fonts[k], k, catalogues, check));
    tallest = std::max<uint32_t>(tallest, font.symheight);
  }
  uint32_t s = scale;
  if (!s) {
    s = std::clamp<uint32_t>(kAutoHeight / tallest, 1, kAutoMaxScale);
    while (s > 1 && !picture_extent(result, fonts, strings, s, spacing).fits()) --s;
  }
  const Extent e = picture_extent(result, fonts, strings, s, spacing);
  if (!e.fits())
    return Failure{Fault::too_large,
                   strf("the strings picture at scale %u would be %llu x %llu pixels, too large", s,
                        ull(e.width), ull(e.height))};
  StringsPicture out;
  out.scale = s;
  RgbPicture& img = out.picture;
  img.resize(static_cast<uint32_t>(e.width), static_cast<uint32_t>(e.height));
  img.fill(kSheetBackground);
  const uint32_t ls = sheet_label_scale(s);
  uint32_t y = kSheetMargin;
  for (size_t k = 0; k < fonts.size(); ++k) {
    const FontRecord& font = result.fonts[fonts[k].block];
    draw_label(img, kSheetMargin, y, ls, picture_label(fonts[k]), kSheetLabelColour);
    y += static_cast<uint32_t>(label_height(ls)) + kSheetLabelGap;
    for (size_t i = 0; i < strings[k].strings.size(); ++i) {
      const TextSymbols& text = strings[k].strings[i];
      Outcome<TextPicture> drawn = draw_text(font, text, s, opts, true, spacing);
      if (!drawn.ok()) return drawn.failure();
      blit_inner(drawn->picture, kSheetMargin, y, img);
      const Extent se = string_extent(font, text, s, spacing);
      if (strings[k].marks[i]) draw_mark(*strings[k].marks[i], y, se, s, img);
      y += static_cast<uint32_t>(se.height) + kSheetGap;
    }
    y += kSheetRowGap - kSheetGap;
  }
  return out;
}

}  // namespace tralk::inspector
