// Reading an input in sequence, in large blocks, keeping count of the bytes
// consumed so that a reader can skip forward without seeking. Pictures are
// read row by row, and a system call per row would cost more than the row's
// conversion.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>

#include "base/byte_source.h"

class ByteReader {
 public:
  explicit ByteReader(ByteSource& in) : in_(in) {}

  bool read(uint8_t* buf, size_t n) {
    while (n > 0) {
      if (pos_ == end_ && !refill()) return false;
      const size_t step = std::min(n, end_ - pos_);
      std::memcpy(buf, block_.get() + pos_, step);
      pos_ += step;
      consumed_ += step;
      buf += step;
      n -= step;
    }
    return true;
  }

  // The next n bytes: where they lie whole in the block read, there, else
  // copied into scratch (room for n). None when the file ends first.
  const uint8_t* take(size_t n, uint8_t* scratch) {
    if (end_ - pos_ >= n) {
      const uint8_t* at = block_.get() + pos_;
      pos_ += n;
      consumed_ += n;
      return at;
    }
    return read(scratch, n) ? scratch : nullptr;
  }

  // The next byte, or -1 at the end of the file.
  int get() {
    if (pos_ == end_ && !refill()) return -1;
    ++consumed_;
    return block_[pos_++];
  }

  bool skip(uint64_t n) {
    std::array<uint8_t, 4096> scratch;
    while (n > 0) {
      const size_t step = static_cast<size_t>(std::min<uint64_t>(n, scratch.size()));
      if (!read(scratch.data(), step)) return false;
      n -= step;
    }
    return true;
  }

  uint64_t consumed() const { return consumed_; }

 private:
  static constexpr size_t kBlock = 256 * 1024;

  bool refill() {
    if (!block_) block_ = std::make_unique_for_overwrite<uint8_t[]>(kBlock);
    end_ = in_.read(block_.get(), kBlock);
    pos_ = 0;
    return end_ > 0;
  }

  ByteSource& in_;
  std::unique_ptr<uint8_t[]> block_;
  size_t pos_ = 0;
  size_t end_ = 0;
  uint64_t consumed_ = 0;
};
