#include "bitmap/row_convert.h"

#include <cstring>

namespace {

// Pixels written one after another into whole bytes, high bits first.
class PixelWriter {
 public:
  PixelWriter(uint8_t* out, unsigned bits) : out_(out), bits_(bits) {}
  void put(uint32_t v) {
    if (bits_ >= 8) {
      for (unsigned shift = bits_; shift > 0; shift -= 8)
        *out_++ = static_cast<uint8_t>(v >> (shift - 8));
      return;
    }
    acc_ = (acc_ << bits_) | v;
    filled_ += bits_;
    if (filled_ == 8) {
      *out_++ = static_cast<uint8_t>(acc_);
      acc_ = 0;
      filled_ = 0;
    }
  }
  // The row's last byte, when the pixels end inside it.
  void flush() {
    if (filled_) *out_ = static_cast<uint8_t>(acc_ << (8 - filled_));
  }

 private:
  uint8_t* out_;
  unsigned bits_;
  unsigned acc_ = 0;
  unsigned filled_ = 0;
};

}  // namespace

LookupRows::LookupRows(uint16_t in_bits, uint16_t out_bits, const Table& table)
    : in_bits_(in_bits), out_bits_(out_bits), table_(table) {}

void LookupRows::convert(const uint8_t* in, uint8_t* out, uint32_t width) {
  if (in_bits_ == 8 && out_bits_ == 8) {  // the common case, kept tight
    for (uint32_t x = 0; x < width; ++x) {
      const uint8_t v = in[x];
      ++counts_[v];
      out[x] = static_cast<uint8_t>(table_[v]);
    }
    return;
  }
  PixelWriter w(out, out_bits_);
  for (uint32_t x = 0; x < width; ++x) {
    const uint32_t v = sym_row_getpixel(in, x, in_bits_);
    if (v < counts_.size()) {
      ++counts_[v];
      w.put(table_[v]);
    } else {
      ++beyond_;
      w.put(0);
    }
  }
  w.flush();
}

namespace {

// The colour of a 24-bit pixel.
template <Order O>
RGBTRIPLET colour_at(const uint8_t* p) {
  if constexpr (O == Order::bgr) return {p[2], p[1], p[0]};
  return {p[0], p[1], p[2]};
}

// 24-bit colours packed 5-6-5, high byte first: the common case, pictures
// to a colour display.
template <Order O>
void pack565(const uint8_t* in, uint8_t* out, uint32_t width) {
  for (uint32_t x = 0; x < width; ++x, in += 3, out += 2) {
    const RGBTRIPLET c = colour_at<O>(in);
    out[0] = static_cast<uint8_t>((c.r & 0xF8) | (c.g >> 5));
    out[1] = static_cast<uint8_t>(((c.g << 3) & 0xE0) | (c.b >> 3));
  }
}

template <Order O>
void grey_row(const uint8_t* in, uint8_t* out, uint32_t width, unsigned bits) {
  if (bits == 8) {
    for (uint32_t x = 0; x < width; ++x, in += 3) out[x] = rgb_grey(colour_at<O>(in));
    return;
  }
  PixelWriter w(out, bits);
  for (uint32_t x = 0; x < width; ++x, in += 3) w.put(rgb_grey(colour_at<O>(in)) >> (8 - bits));
  w.flush();
}

}  // namespace

void RepackRows::convert(const uint8_t* in, uint8_t* out, uint32_t width) {
  const bool bgr = in_bits_ == 24 && order_ == Order::bgr;
  if (in_bits_ == out_bits_ && !bgr) {
    std::memcpy(out, in, sym_rowbytes(static_cast<uint16_t>(width), in_bits_));
  } else if (in_bits_ == 24 && out_bits_ == 16) {
    bgr ? pack565<Order::bgr>(in, out, width) : pack565<Order::rgb>(in, out, width);
  } else {
    const auto from = static_cast<uint8_t>(in_bits_);
    const auto to = static_cast<uint8_t>(out_bits_);
    PixelWriter w(out, out_bits_);
    for (uint32_t x = 0; x < width; ++x) {
      RGBTRIPLET rgb;
      if (in_bits_ == 24)
        rgb = bgr ? colour_at<Order::bgr>(in + 3 * x) : colour_at<Order::rgb>(in + 3 * x);
      else
        rgb_unpack(sym_row_getpixel(in, x, in_bits_), &rgb, from);
      w.put(rgb_pack(&rgb, to));
    }
  }
}

void GreyRows::convert(const uint8_t* in, uint8_t* out, uint32_t width) {
  if (order_ == Order::bgr)
    grey_row<Order::bgr>(in, out, width, out_bits_);
  else
    grey_row<Order::rgb>(in, out, width, out_bits_);
}

uint16_t grey_depth(uint32_t levels) {
  if (levels <= 2) return 1;
  if (levels <= 4) return 2;
  return levels <= 16 ? 4 : 8;
}

LookupRows::Table grey_table(const RGBTRIPLET* palette, uint16_t count, uint16_t depth) {
  LookupRows::Table levels{};
  for (unsigned i = 0; i < levels.size(); ++i)
    levels[i] = rgb_grey(palette[i < count ? i : count - 1u]) >> (8 - depth);
  return levels;
}

void convert_rows(const SYMBOL& source, const SYMSHAPE& src, RowConverter& conv, SYMBOL& result) {
  SYMSHAPE dst;
  sym_shape(result, dst);
  for (uint32_t y = 0; y < src.height; ++y)
    conv.convert(sym_row(source, src, y), sym_row(result, dst, y), src.width);
}

Outcome<SYMBOL> convert_symbol(const SYMBOL& source, const SYMSHAPE& src, RowConverter& conv) {
  Outcome<SYMBOL> result = sym_create(src.width, src.height, conv.out_bits());
  if (result.ok()) convert_rows(source, src, conv, result.value());
  return result;
}
