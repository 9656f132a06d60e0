#include "pack/chip_image.h"

#include <algorithm>

#include "base/crc32.h"
#include "pack/hex_records.h"

namespace tralk::pack {

namespace {

constexpr size_t kFillBlock = size_t{1} << 16;

}  // namespace

ChipImage::ChipImage(uint64_t chip_size, uint8_t fill, std::vector<PlacedBytes> images)
    : fill_(fill), fill_block_(kFillBlock, fill) {
  std::sort(images.begin(), images.end(),
            [](const PlacedBytes& a, const PlacedBytes& b) { return a.offset < b.offset; });
  uint64_t at = 0;
  for (const PlacedBytes& image : images) {
    if (image.offset > at) pieces_.push_back({at, image.offset - at, nullptr});
    pieces_.push_back({image.offset, image.size, image.bytes});
    at = image.offset + image.size;
  }
  if (chip_size > at) pieces_.push_back({at, chip_size - at, nullptr});
}

uint32_t ChipImage::crc32() const {
  uint32_t crc = 0;
  write([&crc](const uint8_t* p, uint64_t n) { crc = crc32_update(crc, p, n); });
  return crc;
}

template <class Out>
void ChipImage::data_runs(Out out) const {
  for (const ChipPiece& p : pieces_) {
    if (p.bytes) {
      out(p.offset, p.bytes, p.size);
    } else if (fill_ != 0xFF) {
      for (uint64_t done = 0; done < p.size;) {
        const uint64_t n = std::min<uint64_t>(p.size - done, fill_block_.size());
        out(p.offset + done, fill_block_.data(), n);
        done += n;
      }
    }
  }
}

namespace {

// Room for the records of the bytes the runs hold.
size_t text_size(const std::vector<ChipPiece>& pieces, bool with_fill) {
  uint64_t n = 0;
  for (const ChipPiece& p : pieces)
    if (p.bytes || with_fill) n += p.size;
  return static_cast<size_t>(n * kRecordTextPerByte + 4096);
}

}  // namespace

std::string ChipImage::hex_text(uint64_t base) const {
  std::string text;
  text.reserve(text_size(pieces_, fill_ != 0xFF));
  HexWriter hex;
  data_runs([&](uint64_t offset, const uint8_t* p, uint64_t n) {
    hex.data(text, base + offset, p, static_cast<size_t>(n));
  });
  HexWriter::end(text);
  return text;
}

std::string ChipImage::srec_text(uint64_t base, const std::string& name) const {
  std::string text;
  text.reserve(text_size(pieces_, fill_ != 0xFF));
  SrecWriter::begin(text, name);
  data_runs([&](uint64_t offset, const uint8_t* p, uint64_t n) {
    SrecWriter::data(text, base + offset, p, static_cast<size_t>(n));
  });
  SrecWriter::end(text, static_cast<uint32_t>(base));
  return text;
}

}  // namespace tralk::pack
