#include "bitmap/bmp_read.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "bitmap/symbol.h"

// 16- and 32-bit pixels: each channel picked out by its mask and widened to
// 8 bits by repeating its bits (a 5-bit 31 becomes 255, 16 becomes 132); a
// channel wider than 8 bits keeps its top 8 bits.
class MaskedPixels {
 public:
  // masks: red, green, blue, alpha (0 for none); bits: 16 or 32.
  MaskedPixels(const std::array<uint32_t, 4>& masks, uint16_t bits);

  // Writes width pixels of a file row as blue, green, red bytes, the order
  // of a 24-bit picture's pixels.
  void to_bgr(const uint8_t* file_row, uint8_t* bgr, uint32_t width);
  // Writes the alpha of width pixels of a file row, widened to 8 bits as the
  // colours are (255 is opaque), for a reader that flattens transparency
  // itself. Only for pixels with an alpha mask.
  void to_alpha(const uint8_t* file_row, uint8_t* alpha, uint32_t width) const;
  // True while every pixel converted had its alpha channel full (or the
  // pixels have none).
  bool opaque() const { return opaque_; }

 private:
  struct Channel {
    uint32_t mask = 0;
    unsigned shift = 0;
    unsigned width = 0;
    std::array<uint8_t, 128> widened{};  // for channels narrower than 8 bits
    uint8_t take(uint32_t pixel) const;
  };

  uint32_t pixel_at(const uint8_t* p) const;

  std::array<Channel, 3> colour_;
  Channel alpha_;
  unsigned bytes_;
  bool opaque_ = true;
};

uint8_t MaskedPixels::Channel::take(uint32_t pixel) const {
  const uint32_t v = (pixel & mask) >> shift;
  if (width >= 8) return static_cast<uint8_t>(v >> (width - 8));
  return widened[v];
}

MaskedPixels::MaskedPixels(const std::array<uint32_t, 4>& masks, uint16_t bits)
    : bytes_(bits / 8u) {
  for (unsigned i = 0; i < 4; ++i) {
    Channel& c = i < 3 ? colour_[i] : alpha_;
    c.mask = masks[i];
    if (c.mask == 0) continue;
    c.shift = static_cast<unsigned>(std::countr_zero(c.mask));
    c.width = static_cast<unsigned>(std::popcount(c.mask));
    if (c.width < 8) {
      for (uint32_t v = 0; v < (1u << c.width); ++v) c.widened[v] = rgb_widen(v, c.width);
    }
  }
}

uint32_t MaskedPixels::pixel_at(const uint8_t* p) const {
  uint32_t pixel = uint32_t{p[0]} | uint32_t{p[1]} << 8;
  if (bytes_ == 4) pixel |= uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
  return pixel;
}

void MaskedPixels::to_bgr(const uint8_t* file_row, uint8_t* bgr, uint32_t width) {
  const uint32_t alpha = alpha_.mask;
  bool opaque = true;
  for (uint32_t x = 0; x < width; ++x, file_row += bytes_, bgr += 3) {
    const uint32_t pixel = pixel_at(file_row);
    bgr[0] = colour_[2].take(pixel);
    bgr[1] = colour_[1].take(pixel);
    bgr[2] = colour_[0].take(pixel);
    opaque = opaque && (pixel & alpha) == alpha;
  }
  opaque_ = opaque_ && opaque;
}

void MaskedPixels::to_alpha(const uint8_t* file_row, uint8_t* alpha, uint32_t width) const {
  for (uint32_t x = 0; x < width; ++x, file_row += bytes_)
    alpha[x] = alpha_.take(pixel_at(file_row));
}

// Run-length encoded pixel rows (RLE8 for 8-bit pictures, RLE4 for 4-bit
// ones), unpacked one row at a time, bottom row first as they are stored.
class RleRows {
 public:
  RleRows(ByteReader& in, uint16_t width, uint16_t height, uint16_t bits);

  // Unpacks the next row into row (packed as a symbol row of the picture's
  // depth, all of it written; pixels the data never sets are 0).
  Status next(uint8_t* row);
  // After the last row: the data must go on to its end-of-picture mark.
  Status finish();

 private:
  Status decode_row();
  bool put(unsigned value);
  bool absolute(unsigned count);

  ByteReader& in_;
  uint16_t width_;
  uint16_t height_;
  uint16_t bits_;
  uint32_t limit_;                // pixels a run may fill: the row up to its 4-byte boundary
  std::vector<uint8_t> pending_;  // the row being decoded, whole bytes of pixels
  uint32_t row_ = 0;              // the row the data stands in, from the bottom
  uint32_t x_ = 0;                // the pixel it stands at
  uint32_t given_ = 0;            // rows handed out
  bool ended_ = false;            // the end-of-picture mark has been read
};

namespace {

const Failure kFormat = bmp_failure(Fault::format, BmpField::layout);

}  // namespace

RleRows::RleRows(ByteReader& in, uint16_t width, uint16_t height, uint16_t bits)
    : in_(in),
      width_(width),
      height_(height),
      bits_(bits),
      limit_((uint32_t{width} * bits + 31) / 32 * 32 / bits),
      pending_(sym_rowbytes(width, bits), 0) {}

// Stores one pixel; pixels past the width but within the row's 4-byte
// boundary are dropped, a pixel past that boundary is an error.
bool RleRows::put(unsigned value) {
  if (x_ >= limit_ || row_ >= height_) return false;
  if (x_ < width_) {
    if (bits_ == 8) {
      pending_[x_] = static_cast<uint8_t>(value);
    } else {
      uint8_t& b = pending_[x_ / 2];
      b = (x_ & 1) ? static_cast<uint8_t>((b & 0xF0) | (value & 0x0F))
                   : static_cast<uint8_t>((b & 0x0F) | (value << 4));
    }
  }
  ++x_;
  return true;
}

// count pixels stored as they are, padded to a 16-bit boundary.
bool RleRows::absolute(unsigned count) {
  const unsigned bytes = bits_ == 8 ? count : (count + 1) / 2;
  for (unsigned i = 0; i < bytes; ++i) {
    const int b = in_.get();
    if (b < 0) return false;
    if (bits_ == 8) {
      if (!put(static_cast<unsigned>(b))) return false;
    } else {
      if (!put(static_cast<unsigned>(b) >> 4)) return false;
      if (2 * i + 1 < count && !put(static_cast<unsigned>(b) & 0x0F)) return false;
    }
  }
  return bytes % 2 == 0 || in_.get() >= 0;
}

// Reads codes until the row the data stands in moves on (an end of line, a
// delta downwards, the end of the picture).
Status RleRows::decode_row() {
  const uint32_t row = row_;
  while (!ended_ && row_ == row) {
    const int count = in_.get();
    const int value = in_.get();
    if (count < 0 || value < 0) return kFormat;
    if (count > 0) {
      for (int i = 0; i < count; ++i) {
        const unsigned v = bits_ == 8 ? unsigned(value) : (i % 2 ? value & 0x0F : value >> 4);
        if (!put(v)) return kFormat;
      }
    } else if (value == 0) {  // end of line
      ++row_;
      x_ = 0;
    } else if (value == 1) {  // end of picture
      ended_ = true;
    } else if (value == 2) {  // delta: right and down
      const int dx = in_.get();
      const int dy = in_.get();
      if (dx < 0 || dy < 0) return kFormat;
      if (x_ + unsigned(dx) > width_ || row_ + unsigned(dy) >= height_) return kFormat;
      x_ += unsigned(dx);
      row_ += unsigned(dy);
    } else if (!absolute(unsigned(value))) {
      return kFormat;
    }
  }
  return {};
}

Status RleRows::next(uint8_t* row) {
  // Data stands in a later row (or has ended): this one is complete.
  if (!ended_ && row_ == given_) {
    if (Status err = decode_row(); !err.ok()) return err;
  }
  std::memcpy(row, pending_.data(), pending_.size());
  std::fill(pending_.begin(), pending_.end(), 0);
  ++given_;
  return {};
}

Status RleRows::finish() {
  while (!ended_) {
    if (Status err = decode_row(); !err.ok()) return err;
  }
  return {};
}

namespace {

// A file whose colour table holds fewer colours than its depth can name:
// every pixel must name one it holds (checked on the file's own indices).
bool names_held_colours(const uint8_t* row, const BmpHeader& h) {
  for (uint32_t x = 0; x < h.width; ++x)
    if (sym_row_getpixel(row, x, h.bits) >= h.table_used) return false;
  return true;
}

const Failure kUnheldColour = bmp_failure(Fault::format, BmpField::layout);

}  // namespace

BmpRows::BmpRows(ByteReader& in, const BmpHeader& h)
    : in_(in), h_(h), row_(sym_rowbytes(h.width, h.depth())) {
  if (h.packing == BmpPacking::rle) {
    rle_ = std::make_unique<RleRows>(in, h.width, h.height, h.bits);
    return;
  }
  file_row_.resize(h.file_stride());
  if (h.bits == 16 || h.bits == 32) masked_ = std::make_unique<MaskedPixels>(h.masks, h.bits);
}

Status BmpRows::next(const uint8_t*& pixels) {
  if (rle_) {
    pixels = row_.data();
    Status row = rle_->next(row_.data());
    if (row.ok() && h_.short_table() && !names_held_colours(pixels, h_)) return kUnheldColour;
    return row;
  }
  const uint8_t* file = in_.take(file_row_.size(), file_row_.data());
  if (!file) return bmp_failure(Fault::cut_short, BmpField::pixels);
  if (h_.short_table() && !names_held_colours(file, h_)) return kUnheldColour;
  pixels = row_.data();
  const uint32_t n = static_cast<uint32_t>(row_.size());
  if (masked_) {
    masked_->to_bgr(file, row_.data(), h_.width);
    if (!alpha_.empty()) masked_->to_alpha(file, alpha_.data(), h_.width);
  } else if (h_.bw_mask) {
    for (uint32_t i = 0; i < n; ++i) row_[i] = file[i] ^ h_.bw_mask;
  } else {
    pixels = file;  // indices, 24-bit pixels and 1-bit rows that need no inversion, as stored
  }
  return {};
}

Status BmpRows::finish() {
  if (rle_) return rle_->finish();
  // Transparency has no place in a symbol, unless the reader flattens it.
  if (masked_ && alpha_.empty() && !masked_->opaque())
    return bmp_failure(Fault::unsupported, BmpField::pixels);
  return {};
}

void BmpRows::keep_alpha() {
  if (masked_ && h_.masks[3] != 0) alpha_.resize(h_.width);
}

BmpRows::~BmpRows() = default;

Status bmp_open(ByteSource& source, BmpPicture& pic) {
  pic.in = std::make_unique<ByteReader>(source);
  return bmp_read_header(*pic.in, source.size(), pic.header);
}

Status bmp_read_rows(BmpPicture& pic, RowConverter* conv, SYMBOL* result) {
  SYMSHAPE shape;
  if (conv) sym_shape(*result, shape);
  BmpRows rows(*pic.in, pic.header);
  return rows.for_each([&](uint32_t y, const uint8_t* pixels) {
    if (conv) conv->convert(pixels, sym_row(*result, shape, y), shape.width);
  });
}
