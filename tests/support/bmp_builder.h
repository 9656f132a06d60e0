// Builds BMP files byte by byte for tests.
//
//   BmpSpec spec;
//   spec.bits = 4;
//   spec.width = 3;
//   spec.height = 2;
//   spec.colours = {{0, 0, 0}, {255, 255, 255}};   // red, green, blue
//   spec.rows = {{0x01, 0x10}, {0x11, 0x00}};      // top row first
//   write_bytes(dir / "pic.bmp", bmp_build(spec));
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

struct BmpSpec {
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

// The bytes of the file described by spec. An information header size below
// 40 still writes the full 40 bytes, so that only the size field is wrong.
inline std::vector<uint8_t> bmp_build(const BmpSpec& spec) {
  using bmp_detail::put16;
  using bmp_detail::put32;
  const uint32_t info_bytes = spec.info_size < 40 ? 40 : spec.info_size;
  const uint32_t rows_start =
      14 + info_bytes + 4 * static_cast<uint32_t>(spec.colours.size()) + spec.gap;
  std::vector<uint8_t> body;
  for (auto row = spec.rows.rbegin(); row != spec.rows.rend(); ++row) {
    body.insert(body.end(), row->begin(), row->end());
    while (body.size() % 4 != 0) body.push_back(spec.fill);
  }

  std::vector<uint8_t> out;
  out.push_back(static_cast<uint8_t>(spec.signature[0]));
  out.push_back(static_cast<uint8_t>(spec.signature[1]));
  put32(out, rows_start + static_cast<uint32_t>(body.size()));  // file size
  put32(out, 0);                                                // reserved
  put32(out, spec.pixel_offset.value_or(rows_start));

  put32(out, spec.info_size);
  put32(out, static_cast<uint32_t>(spec.width));
  put32(out, static_cast<uint32_t>(spec.height));
  put16(out, 1);  // planes
  put16(out, spec.bits);
  put32(out, spec.compression);
  put32(out, static_cast<uint32_t>(body.size()));  // image size
  put32(out, 2835);                                // 72 dpi, both ways
  put32(out, 2835);
  put32(out, spec.colours_used);
  put32(out, 0);  // colours important
  out.resize(out.size() + (info_bytes - 40), 0);

  for (const auto& c : spec.colours) {
    out.push_back(c[2]);
    out.push_back(c[1]);
    out.push_back(c[0]);
    out.push_back(0);
  }
  out.resize(out.size() + spec.gap, 0);
  out.insert(out.end(), body.begin(), body.end());
  out.resize(out.size() > spec.truncate ? out.size() - spec.truncate : 0);
  return out;
}

inline void write_bytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}
