#include "import/pictures/bmp_write.h"

#include <algorithm>

#include "base/coding.h"
#include "bitmap/bmp_layout.h"
#include "bitmap/symbol.h"

namespace tralk::importer {

namespace {

using namespace bmp_layout;

constexpr uint32_t kHeadersSize = kFileHeaderSize + kInfoHeaderSize;
constexpr uint32_t kPixelsPerMetre = 2835;

// The 40-byte form, its pixels uncompressed, bottom row first.
std::string headers(uint32_t width, uint32_t height, unsigned bits,
                    const std::vector<RGBTRIPLET>& table, uint32_t stride) {
  const uint32_t entries = bits == 24 ? 0 : static_cast<uint32_t>(table.size());
  const uint32_t offset = kHeadersSize + kTableEntrySize * entries;
  const uint32_t image = stride * height;
  std::string out(offset, '\0');
  auto* head = reinterpret_cast<uint8_t*>(out.data());
  head[0] = kSignature[0];
  head[1] = kSignature[1];
  put_u32le(head + kAtFileSize, offset + image);
  put_u32le(head + kAtPixelOffset, offset);
  uint8_t* info = head + kFileHeaderSize;
  put_u32le(info, kInfoHeaderSize);
  put_u32le(info + kAtWidth, width);
  put_u32le(info + kAtHeight, height);  // positive: bottom row first
  put_u16le(info + kAtPlanes, 1);
  put_u16le(info + kAtBits, static_cast<uint16_t>(bits));
  put_u32le(info + kAtCompression, kRgb);
  put_u32le(info + kAtImageSize, image);
  put_u32le(info + kAtXPixelsPerMetre, kPixelsPerMetre);
  put_u32le(info + kAtYPixelsPerMetre, kPixelsPerMetre);
  put_u32le(info + kAtColoursUsed, entries);
  put_u32le(info + kAtColoursImportant, 0);  // all
  uint8_t* entry = head + kHeadersSize;
  for (uint32_t i = 0; i < entries; ++i, entry += kTableEntrySize) {
    entry[0] = table[i].b;
    entry[1] = table[i].g;
    entry[2] = table[i].r;
  }
  return out;
}

}  // namespace

BmpWriter::BmpWriter(OutFile& out, uint32_t width, uint32_t height, unsigned bits,
                     const std::vector<RGBTRIPLET>& table)
    : out_(out),
      width_(width),
      height_(height),
      bits_(bits),
      stride_(row_stride(width, bits)),
      row_(stride_, '\0') {
  const std::string head = headers(width, height, bits, table, stride_);
  out_.write(head);
  pixels_at_ = next_at_ = head.size();
}

void BmpWriter::put_row(uint32_t y, const uint8_t* pixels) {
  std::fill(row_.begin(), row_.end(), '\0');
  auto* row = reinterpret_cast<uint8_t*>(row_.data());
  for (uint32_t x = 0; x < width_; ++x) {
    if (bits_ == 24) {
      row[3 * x] = pixels[3 * x + 2];
      row[3 * x + 1] = pixels[3 * x + 1];
      row[3 * x + 2] = pixels[3 * x];
    } else {
      sym_row_setpixel(row, x, bits_, pixels[x]);
    }
  }
  const uint64_t at = pixels_at_ + uint64_t{height_ - 1 - y} * stride_;
  if (at != next_at_) out_.seek(at);
  out_.write(row_);
  next_at_ = at + stride_;
}

}  // namespace tralk::importer
