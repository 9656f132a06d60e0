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
// (top row first when the height is negative) and pads each to a multiple of
// 4 with the fill byte; data, where given, is written instead of the rows,
// as it is (run-length codes, say). The colour table is written as given
// (blue, green, red, 0 per entry; the 12-byte OS/2 header has no 0), so a
// test decides how many entries the file really holds. Masks stand inside a
// header of 52 bytes or more (red, green, blue at its offset 40, alpha at 52
// where the header has room), else right after the header. By default the
// file is laid out the plain way: 14-byte file header, 40-byte information
// header, colour table, pixel rows.
#pragma once

#include <algorithm>
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
  std::optional<std::vector<uint8_t>> data;     // the pixel block as stored, instead of rows
  std::vector<uint32_t> masks;                  // red, green, blue and perhaps alpha
  uint8_t fill = 0xEE;                          // value of the fill bytes

  uint32_t info_size = 40;    // header size field; 12 writes the OS/2 form, a larger one zero bytes
  uint32_t colours_used = 0;  // colours-used field
  uint32_t gap = 0;           // zero bytes between colour table and pixel rows
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
// 40 (but 12) still writes the full 40 bytes, so that only the size field is
// wrong.
inline std::vector<uint8_t> bmp_build(const BmpLayout& layout) {
  using bmp_detail::put16;
  using bmp_detail::put32;
  const bool core = layout.info_size == 12;
  const uint32_t info_bytes = core || layout.info_size >= 40 ? layout.info_size : 40;
  const size_t masks_inside =
      info_bytes >= 52 ? std::min<size_t>(layout.masks.size(), (info_bytes - 40) / 4) : 0;
  const size_t masks_after = info_bytes >= 52 ? 0 : layout.masks.size();
  const uint32_t entry_bytes = core ? 3 : 4;
  const uint32_t rows_start = 14 + info_bytes + 4 * static_cast<uint32_t>(masks_after) +
                              entry_bytes * static_cast<uint32_t>(layout.colours.size()) +
                              layout.gap;
  std::vector<uint8_t> body;
  if (layout.data) {
    body = *layout.data;
  } else {
    auto add_row = [&](const std::vector<uint8_t>& row) {
      body.insert(body.end(), row.begin(), row.end());
      while (body.size() % 4 != 0) body.push_back(layout.fill);
    };
    if (layout.height < 0) {
      for (const auto& row : layout.rows) add_row(row);
    } else {
      for (auto row = layout.rows.rbegin(); row != layout.rows.rend(); ++row) add_row(*row);
    }
  }

  std::vector<uint8_t> out;
  out.push_back(static_cast<uint8_t>(layout.signature[0]));
  out.push_back(static_cast<uint8_t>(layout.signature[1]));
  put32(out, rows_start + static_cast<uint32_t>(body.size()));  // file size
  put32(out, 0);                                                // reserved
  put32(out, layout.pixel_offset.value_or(rows_start));

  put32(out, layout.info_size);
  if (core) {
    put16(out, static_cast<uint32_t>(layout.width));
    put16(out, static_cast<uint32_t>(layout.height));
    put16(out, 1);  // planes
    put16(out, layout.bits);
  } else {
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
    for (size_t i = 0; i < masks_inside; ++i) put32(out, layout.masks[i]);
    out.resize(14 + info_bytes, 0);
    for (size_t i = 0; i < masks_after; ++i) put32(out, layout.masks[i]);
  }

  for (const auto& c : layout.colours) {
    out.push_back(c[2]);
    out.push_back(c[1]);
    out.push_back(c[0]);
    if (!core) out.push_back(0);
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
