// The bytes of a packed chip, as pieces in the order of their offsets: the
// images' own bytes and runs of the fill between and after them. The chip
// is never made whole in memory; its file, CRC-32, HEX and S-record text
// are all made from the pieces.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tralk::pack {

struct ChipPiece {
  uint64_t offset = 0;
  uint64_t size = 0;
  const uint8_t* bytes = nullptr;  // null: size bytes of the fill
};

struct PlacedBytes {
  uint64_t offset = 0;
  const uint8_t* bytes = nullptr;
  uint64_t size = 0;
};

class ChipImage {
 public:
  // images must not overlap and must lie within chip_size.
  ChipImage(uint64_t chip_size, uint8_t fill, std::vector<PlacedBytes> images);

  const std::vector<ChipPiece>& pieces() const { return pieces_; }
  uint8_t fill() const { return fill_; }
  // Calls out(bytes, n) for every byte of the chip in order, the fill from a
  // block of its own.
  template <class Out>
  void write(Out out) const;
  uint32_t crc32() const;
  // The Intel HEX and S-record text of the chip at base, given to out a
  // piece at a time: every image, and the fill too unless it is 0xFF, which
  // an erased chip holds already.
  using TextSink = std::function<void(std::string_view)>;
  void hex_text(uint64_t base, const TextSink& out) const;
  void srec_text(uint64_t base, const std::string& name, const TextSink& out) const;

 private:
  template <class Out>
  void data_runs(Out out) const;

  std::vector<ChipPiece> pieces_;
  uint8_t fill_;
  std::vector<uint8_t> fill_block_;
};

template <class Out>
void ChipImage::write(Out out) const {
  for (const ChipPiece& p : pieces_) {
    if (p.bytes) {
      out(p.bytes, p.size);
      continue;
    }
    for (uint64_t done = 0; done < p.size;) {
      const uint64_t n = std::min<uint64_t>(p.size - done, fill_block_.size());
      out(fill_block_.data(), n);
      done += n;
    }
  }
}

}  // namespace tralk::pack
