#include "bitmap/bmp_convert.h"

#include <algorithm>
#include <new>

#include "bitmap/colorconv.h"
#include "bitmap/greyconv.h"
#include "bitmap/symbol.h"
#include "driver/console.h"

namespace {

// A zero-filled symbol of the given shape, or an empty one when it cannot
// be had (nothing is printed: the usual way then reports it).
SYMBOL blank(uint16_t width, uint16_t height, uint16_t numbits) {
  try {
    return sym_blank(width, height, numbits);
  } catch (const std::bad_alloc&) {
    return {};
  }
}

// The file's 24-bit pixels are blue, green, red.
RGBTRIPLET bgr_colour(const uint8_t* p) {
  return {p[2], p[1], p[0]};
}

class Rgb24Sink : public BmpRowSink {
 public:
  Rgb24Sink(Bmp24Target target, uint16_t depth)
      : target_(target), depth_(target == Bmp24Target::rgb565 ? 16 : depth) {}

  bool begin(uint16_t width, uint16_t height, uint16_t bits,
             const std::vector<RGBTRIPLET>&) override {
    if (bits != 24 || !sym_valid_depth(depth_)) return false;
    if (target_ == Bmp24Target::grey && depth_ > 8) return false;
    width_ = width;
    result_ = blank(width, height, depth_);
    return !result_.empty() && sym_shape(result_, shape_);
  }

  void row(uint32_t y, const uint8_t* bgr) override {
    uint8_t* out = sym_row(result_, shape_, y);
    if (target_ == Bmp24Target::rgb565) {
      for (uint32_t x = 0; x < width_; ++x, bgr += 3, out += 2) {
        const RGBTRIPLET c = bgr_colour(bgr);
        const uint32_t v = rgb_pack(&c, 16);
        out[0] = static_cast<uint8_t>(v >> 8);
        out[1] = static_cast<uint8_t>(v);
      }
    } else if (depth_ == 8) {
      for (uint32_t x = 0; x < width_; ++x, bgr += 3) out[x] = rgb_grey(bgr_colour(bgr));
    } else {
      for (uint32_t x = 0; x < width_; ++x, bgr += 3)
        sym_row_setpixel(out, x, depth_, rgb_grey(bgr_colour(bgr)) >> (8 - depth_));
    }
  }

  SYMBOL take() { return std::move(result_); }

 private:
  Bmp24Target target_;
  uint16_t depth_;
  uint16_t width_ = 0;
  SYMBOL result_;
  SYMSHAPE shape_;
};

constexpr uint16_t kNoMatch = 0xFFFF;

uint16_t index_depth(uint32_t largest) {
  if (largest < 4) return 2;
  return largest < 16 ? 4 : 8;
}

// The first pass of palette mode: each picture index becomes the index of
// the first equal colour of the palette, or 0 (counted) when there is none.
class PaletteSink : public BmpRowSink {
 public:
  PaletteSink(const RGBTRIPLET* palette, uint16_t count) : palette_(palette), count_(count) {}

  bool begin(uint16_t width, uint16_t height, uint16_t bits,
             const std::vector<RGBTRIPLET>& table) override {
    // An 8-bit picture goes to palette mode only with a full table and a
    // full palette; a table shorter than the pixel values' range could make
    // the conversion fail, which the usual way reports.
    if ((bits != 4 && bits != 8) || table.size() < (1u << bits) || count_ == 0) return false;
    if (bits == 8 && (table.size() != 256 || count_ != 256)) return false;
    bits_ = bits;
    width_ = width;
    try {
      map_.assign(std::max<std::size_t>(table.size(), 256), kNoMatch);
    } catch (const std::bad_alloc&) {
      return false;
    }
    uint32_t largest_found = 0;
    const RGBTRIPLET* end = palette_ + count_;
    for (std::size_t i = 0; i < table.size(); ++i) {
      const RGBTRIPLET* hit = std::find(palette_, end, table[i]);
      if (hit == end) continue;
      map_[i] = static_cast<uint16_t>(hit - palette_);
      largest_found = std::max<uint32_t>(largest_found, map_[i]);
    }
    result_ = blank(width, height, index_depth(largest_found));
    return !result_.empty() && sym_shape(result_, shape_);
  }

  void row(uint32_t y, const uint8_t* bytes) override {
    uint8_t* out = sym_row(result_, shape_, y);
    for (uint32_t x = 0; x < width_; ++x) {
      const uint16_t to = map_[sym_row_getpixel(bytes, x, bits_)];
      if (to == kNoMatch) {
        ++defaults_;  // the result is zero-filled: index 0 is there already
      } else {
        sym_row_setpixel(out, x, shape_.numbits, to);
        largest_written_ = std::max<uint32_t>(largest_written_, to);
      }
    }
  }

  // The narrowing pass and the message, as palette mode makes them.
  SYMBOL finish() {
    const uint16_t depth = shape_.numbits;
    const bool narrower =
        (largest_written_ < 4 && depth > 2) || (largest_written_ < 16 && depth > 4);
    if (defaults_ == 0 && narrower) {
      // One palette-mode pass of the result against the palette's head; it
      // prints the message (no pixel can be set to default in it).
      const uint16_t keep = std::min<uint16_t>(count_, depth == 4 ? 4 : 16);
      SYMBOL narrowed = sym_colorconv(result_, palette_, count_, palette_, keep, 1);
      if (narrowed.empty()) con_printf("Color conversion error");
      return narrowed;
    }
    if (defaults_ != 0)
      con_printf("\n - %u pixels set to default during color conversion", defaults_);
    else
      con_printf("\n - All pixels converted sucessfully to default palette");
    return std::move(result_);
  }

 private:
  const RGBTRIPLET* palette_;
  uint16_t count_;
  uint16_t bits_ = 0;
  uint16_t width_ = 0;
  std::vector<uint16_t> map_;
  SYMBOL result_;
  SYMSHAPE shape_;
  uint32_t defaults_ = 0;
  uint32_t largest_written_ = 0;
};

// Reads path into sink: none when the picture is not one for this way of
// reading, an empty symbol after a failure (reported), else the result.
template <typename Sink, typename Finish>
std::optional<SYMBOL> read_converted(const char* path, Sink& sink, Finish finish) {
  switch (bmp_read_into(path, sink)) {
    case BmpStream::declined:
      return std::nullopt;
    case BmpStream::failed:
      return SYMBOL{};
    case BmpStream::done:
      break;
  }
  return finish();
}

}  // namespace

std::optional<SYMBOL> bmp_read24_converted(const char* path, Bmp24Target target, uint16_t depth) {
  Rgb24Sink sink(target, depth);
  return read_converted(path, sink, [&] { return sink.take(); });
}

std::optional<SYMBOL> bmp_read_palette_converted(const char* path, const RGBTRIPLET* palette,
                                                 uint16_t count) {
  if (!palette) return std::nullopt;
  PaletteSink sink(palette, count);
  return read_converted(path, sink, [&] { return sink.finish(); });
}
