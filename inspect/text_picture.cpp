#include "inspect/text_picture.h"

#include <algorithm>

#include "base/text.h"

namespace tralk::inspector {

namespace {

using ull = unsigned long long;

constexpr uint32_t kLineFeed = 10;

Extent text_extent(const FontRecord& font, const TextSymbols& text, uint32_t scale,
                   const TextSpacing& spacing) {
  uint64_t widest = 0;
  for (const auto& line : text.lines)
    widest = std::max(widest, line_width(font, line, spacing.symbol));
  return {widest * scale + 2 * kSheetMargin,
          text_height(font, text.lines.size(), spacing) * scale + 2 * kSheetMargin};
}

uint32_t auto_scale(const FontRecord& font, const TextSymbols& text, const TextSpacing& spacing) {
  uint32_t s =
      std::clamp<uint32_t>(kAutoHeight / std::max<uint32_t>(font.symheight, 1), 1, kAutoMaxScale);
  while (s > 1 && !text_extent(font, text, s, spacing).fits()) --s;
  return s;
}

void draw_symbol(const FontRecord& font, size_t symbol, uint32_t left, uint32_t top, uint32_t scale,
                 const ReadingOptions& opts, RgbPicture& img) {
  const PixelReading reading = choose_reading(font, opts);
  const uint32_t rows = font_drawn_rows(font, symbol);
  for (uint32_t y = 0; y < rows; ++y)
    for (uint32_t x = 0; x < font.widths[symbol]; ++x) {
      const RGBTRIPLET c =
          pixel_rgb(font_pixel(font, symbol, x, y), font_depth(font), reading, opts);
      for (uint32_t dy = 0; dy < scale; ++dy)
        for (uint32_t dx = 0; dx < scale; ++dx)
          img.set(left + x * scale + dx, top + y * scale + dy, c);
    }
}

// A frame of thickness t on the box of w x h pixels at (left, top).
void frame(uint32_t left, uint32_t top, uint32_t w, uint32_t h, uint32_t t, RgbPicture& img) {
  for (uint32_t y = 0; y < h; ++y)
    for (uint32_t x = 0; x < w; ++x)
      if (x < t || y < t || x + t >= w || y + t >= h) img.set(left + x, top + y, kFellBackMark);
}

}  // namespace

std::optional<size_t> codepage_symbol(const FontRecord& font, uint32_t code) {
  if (!font.has_codepage) return std::nullopt;
  for (const auto& [first, last, symbol] : font.ranges) {
    if (code < first || code > last) continue;
    const size_t s = size_t{symbol} + (code - first);
    if (s < font.widths.size()) return s;
    return std::nullopt;
  }
  return std::nullopt;
}

TextSymbols text_symbols(const FontRecord& font, const std::vector<uint32_t>& codes) {
  TextSymbols text;
  text.lines.emplace_back();
  text.fell_back.emplace_back();
  const std::optional<size_t> fallback = codepage_symbol(font, font.defchar);
  for (const uint32_t code : codes) {
    if (code == kLineFeed) {
      text.lines.emplace_back();
      text.fell_back.emplace_back();
      continue;
    }
    ++text.characters;
    std::optional<size_t> s = codepage_symbol(font, code);
    if (!s) {
      ++text.defaulted;
      s = fallback;
    }
    if (s) {
      text.lines.back().push_back(*s);
      text.fell_back.back().push_back(s == fallback && !codepage_symbol(font, code));
    } else
      ++text.dropped;
  }
  return text;
}

std::vector<uint32_t> font_codes(std::u32string_view chars, const cli::Encoding* encoding) {
  std::vector<uint32_t> codes;
  codes.reserve(chars.size());
  for (const char32_t c : chars) {
    if (!encoding || encoding->kind != cli::EncodingKind::code_page || c == kLineFeed) {
      codes.push_back(c);
    } else {
      const std::optional<uint8_t> b = encoding->code_page->from_unicode(c);
      codes.push_back(b ? *b : kNoCode);
    }
  }
  return codes;
}

uint64_t line_width(const FontRecord& font, const std::vector<size_t>& line, uint32_t spacing) {
  if (line.empty()) return 0;
  uint64_t w = uint64_t{spacing} * (line.size() - 1);
  for (const size_t s : line) w += font.widths[s];
  return w;
}

uint64_t text_height(const FontRecord& font, size_t lines, const TextSpacing& spacing) {
  const uint64_t pitch = spacing.line_height.value_or(font.symheight);
  return pitch * (std::max<size_t>(lines, 1) - 1) + font.symheight;
}

Outcome<TextPicture> draw_text(const FontRecord& font, const TextSymbols& text, uint32_t scale,
                               const ReadingOptions& opts, bool mark, const TextSpacing& spacing) {
  if (!font.drawable || choose_reading(font, opts) == PixelReading::none)
    return Failure{Fault::unsupported, "the font's symbols cannot be drawn (see the problems)"};
  const uint32_t s = scale ? scale : auto_scale(font, text, spacing);
  const Extent e = text_extent(font, text, s, spacing);
  if (!e.fits())
    return Failure{Fault::too_large,
                   strf("the text at scale %u would be %llu x %llu pixels, too large", s,
                        ull(e.width), ull(e.height))};
  TextPicture out;
  out.scale = s;
  out.picture.resize(static_cast<uint32_t>(e.width), static_cast<uint32_t>(e.height));
  out.picture.fill(kSheetBackground);
  uint32_t top = kSheetMargin;
  for (size_t l = 0; l < text.lines.size(); ++l) {
    uint32_t left = kSheetMargin;
    for (size_t i = 0; i < text.lines[l].size(); ++i) {
      const size_t symbol = text.lines[l][i];
      draw_symbol(font, symbol, left, top, s, opts, out.picture);
      if (mark && text.fell_back[l][i])
        frame(left, top, font.widths[symbol] * s, font.symheight * s, s, out.picture);
      left += (font.widths[symbol] + spacing.symbol) * s;
    }
    top += spacing.line_height.value_or(font.symheight) * s;
  }
  return out;
}

}  // namespace tralk::inspector
