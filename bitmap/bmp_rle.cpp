#include "bitmap/bmp_rle.h"

#include <algorithm>
#include <cstring>

#include "bitmap/bmp_header.h"
#include "fonts/symfont.h"

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
