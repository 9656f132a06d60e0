#include "import/pictures/bmp_write.h"

#include <algorithm>

#include "bitmap/symbol.h"

namespace tralk::importer {

namespace {

constexpr uint32_t kHeadersSize = 14 + 40;
constexpr uint32_t kPixelsPerMetre = 2835;

void put16(std::string& out, uint32_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}

void put32(std::string& out, uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

std::string headers(uint32_t width, uint32_t height, unsigned bits,
                    const std::vector<RGBTRIPLET>& table, uint32_t stride) {
  const uint32_t entries = bits == 24 ? 0 : static_cast<uint32_t>(table.size());
  const uint32_t offset = kHeadersSize + 4 * entries;
  const uint32_t image = stride * height;
  std::string out;
  out += "BM";
  put32(out, offset + image);
  put32(out, 0);  // reserved
  put32(out, offset);
  put32(out, 40);
  put32(out, width);
  put32(out, height);  // positive: bottom row first
  put16(out, 1);       // planes
  put16(out, bits);
  put32(out, 0);  // no compression
  put32(out, image);
  put32(out, kPixelsPerMetre);
  put32(out, kPixelsPerMetre);
  put32(out, entries);  // colours used
  put32(out, 0);        // colours important: all
  for (uint32_t i = 0; i < entries; ++i) {
    out += static_cast<char>(table[i].b);
    out += static_cast<char>(table[i].g);
    out += static_cast<char>(table[i].r);
    out += '\0';
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
      stride_((width * bits + 31) / 32 * 4),
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
