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

// The text goes out in pieces of about this size: a chip of gigabytes of
// fill makes a HEX file of more.
constexpr size_t kTextPiece = size_t{1} << 20;

}  // namespace

void ChipImage::hex_text(uint64_t base, const TextSink& out) const {
  std::string text;
  text.reserve(kTextPiece + 4096);
  HexWriter hex;
  data_runs([&](uint64_t offset, const uint8_t* p, uint64_t n) {
    for (uint64_t done = 0; done < n;) {
      const size_t take = static_cast<size_t>(std::min<uint64_t>(n - done, kTextPiece / 4));
      hex.data(text, base + offset + done, p + done, take);
      done += take;
      if (text.size() >= kTextPiece) {
        out(text);
        text.clear();
      }
    }
  });
  HexWriter::end(text);
  out(text);
}

void ChipImage::srec_text(uint64_t base, const std::string& name, const TextSink& out) const {
  std::string text;
  text.reserve(kTextPiece + 4096);
  SrecWriter::begin(text, name);
  data_runs([&](uint64_t offset, const uint8_t* p, uint64_t n) {
    for (uint64_t done = 0; done < n;) {
      const size_t take = static_cast<size_t>(std::min<uint64_t>(n - done, kTextPiece / 4));
      SrecWriter::data(text, base + offset + done, p + done, take);
      done += take;
      if (text.size() >= kTextPiece) {
        out(text);
        text.clear();
      }
    }
  });
  SrecWriter::end(text, static_cast<uint32_t>(base));
  out(text);
}

}  // namespace tralk::pack
