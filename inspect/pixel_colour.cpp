#include "inspect/pixel_colour.h"

#include "bitmap/symbol.h"

namespace tralk::inspector {

bool block_is_picture(const FontRecord& font) {
  return font.numsym == 1 && !(font.flags & image_layout::kFlagCodepage);
}

PixelReading choose_reading(const FontRecord& font, const ReadingOptions& opts) {
  const bool indices = opts.palette && block_is_picture(font);
  switch (font.numbits) {
    case 0:
    case 1:
      return PixelReading::bw;
    case 2:
    case 4:
      return indices ? PixelReading::palette : PixelReading::grey;
    case 8:
      if (indices) return PixelReading::palette;
      return opts.grey ? PixelReading::grey : PixelReading::rgb332;
    case 16:
      return PixelReading::rgb565;
    case 24:
      return PixelReading::rgb888;
    default:
      return PixelReading::none;
  }
}

const char* reading_name(PixelReading reading) {
  switch (reading) {
    case PixelReading::bw:
      return "b&w";
    case PixelReading::grey:
      return "grey levels";
    case PixelReading::palette:
      return "palette indices";
    case PixelReading::rgb332:
      return "3-3-2 colour";
    case PixelReading::rgb565:
      return "5-6-5 colour";
    case PixelReading::rgb888:
      return "8-8-8 colour";
    case PixelReading::none:
      break;
  }
  return "unreadable pixels";
}

GreyLevel pixel_grey(uint32_t value, unsigned depth, PixelReading reading) {
  // A set b&w bit is the darker colour: ink on white paper.
  if (reading == PixelReading::bw) return {value ? 0u : 1u, 1u};
  const uint32_t max = depth >= 32 ? 0xFFFFFFFFu : (1u << depth) - 1;
  return {value & max, max};
}

RGBTRIPLET pixel_rgb(uint32_t value, unsigned depth, PixelReading reading,
                     const ReadingOptions& opts) {
  RGBTRIPLET rgb;
  switch (reading) {
    case PixelReading::bw:
    case PixelReading::grey: {
      const GreyLevel g = pixel_grey(value, depth, reading);
      const auto v = static_cast<uint8_t>(uint64_t{g.level} * 255 / g.max);
      return {v, v, v};
    }
    case PixelReading::palette:
      if (opts.palette && value < opts.palette->size()) return (*opts.palette)[value];
      return rgb;
    case PixelReading::rgb332:
      rgb_unpack(value, &rgb, 8);
      return rgb;
    case PixelReading::rgb565:
      rgb_unpack(value, &rgb, 16);
      return rgb;
    case PixelReading::rgb888:
      rgb_unpack(value, &rgb, 24);
      return rgb;
    case PixelReading::none:
      break;
  }
  return rgb;
}

}  // namespace tralk::inspector
