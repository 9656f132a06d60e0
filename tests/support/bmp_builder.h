// Builds BMP files byte by byte for tests.
//
//   BmpLayout layout;
//   layout.bits = 4;
//   layout.width = 3;
//   layout.height = 2;
//   layout.colours = {{0, 0, 0}, {255, 255, 255}};   // red, green, blue
//   layout.rows = {{0x01, 0x10}, {0x11, 0x00}};      // top row first
//   write_bytes(dir / "pic.bmp", bmp_build(layout));
//
// Each row holds the row's pixel bytes as the file stores them (24-bit
// pixels as blue, green, red); the builder writes the rows bottom row first
// and pads each to a multiple of 4 with the fill byte. The colour table is
// written as given (blue, green, red, 0 per entry), so a test decides how
// many entries the file really holds. By default the file is laid out the
// plain way: 14-byte file header, 40-byte information header, colour table,
// pixel rows.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

struct BmpLayout {
  uint16_t bits = 24;  // bit count field
  int32_t width = 1;
  int32_t height = 1;  // negative for a top-down picture
  uint32_t compression = 0;
  std::vector<std::array<uint8_t, 3>> colours;  // colour table, red, green, blue
  std::vector<std::vector<uint8_t>> rows;       // top row first, without fill
  uint8_t fill = 0xEE;                          // value of the fill bytes

  uint32_t info_size = 40;               // header size field; a larger value adds zero bytes
  uint32_t colours_used = 0;             // colours-used field
  uint32_t gap = 0;                      // zero bytes between colour table and pixel rows
  std::optional<uint32_t> pixel_offset;  // offset field; default: where the rows start
  std::array<char, 2> signature = {'B', 'M'};
  std::size_t truncate = 0;  // bytes cut off the end of the file
};

namespace bmp_detail {
inline void put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
inline void put32(std::vector<uint8_t>& out, uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}
}  // namespace bmp_detail

// The bytes of the file described by layout. An information header size below
// 40 still writes the full 40 bytes, so that only the size field is wrong.
inline std::vector<uint8_t> bmp_build(const BmpLayout& layout) {
  using bmp_detail::put16;
  using bmp_detail::put32;
  const uint32_t info_bytes = layout.info_size < 40 ? 40 : layout.info_size;
  const uint32_t rows_start =
      14 + info_bytes + 4 * static_cast<uint32_t>(layout.colours.size()) + layout.gap;
  std::vector<uint8_t> body;
  for (auto row = layout.rows.rbegin(); row != layout.rows.rend(); ++row) {
    body.insert(body.end(), row->begin(), row->end());
    while (body.size() % 4 != 0) body.push_back(layout.fill);
  }

  std::vector<uint8_t> out;
  out.push_back(static_cast<uint8_t>(layout.signature[0]));
  out.push_back(static_cast<uint8_t>(layout.signature[1]));
  put32(out, rows_start + static_cast<uint32_t>(body.size()));  // file size
  put32(out, 0);                                                // reserved
  put32(out, layout.pixel_offset.value_or(rows_start));

  put32(out, layout.info_size);
  put32(out, static_cast<uint32_t>(layout.width));
  put32(out, static_cast<uint32_t>(layout.height));
  put16(out, 1);  // planes
  put16(out, layout.bits);
  put32(out, layout.compression);
  put32(out, static_cast<uint32_t>(body.size()));  // image size
  put32(out, 2835);                                // 72 dpi, both ways
  put32(out, 2835);
  put32(out, layout.colours_used);
  put32(out, 0);  // colours important
  out.resize(out.size() + (info_bytes - 40), 0);

  for (const auto& c : layout.colours) {
    out.push_back(c[2]);
    out.push_back(c[1]);
    out.push_back(c[0]);
    out.push_back(0);
  }
  out.resize(out.size() + layout.gap, 0);
  out.insert(out.end(), body.begin(), body.end());
  out.resize(out.size() > layout.truncate ? out.size() - layout.truncate : 0);
  return out;
}

inline void write_bytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}
