// PNG files written by libpng for the tests, of any colour type, bit depth,
// interlacing, palette and tRNS chunk, from the samples the file is to
// store. Written by libpng's writer, they check the importer's reading
// against a statement of the pixels made without it.
#pragma once

#include <png.h>

#include <array>
#include <csetjmp>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct PngLayout {
  int colour_type = PNG_COLOR_TYPE_RGB;
  int bit_depth = 8;
  bool interlaced = false;
  uint32_t width = 1;
  uint32_t height = 1;
  // Row by row, each pixel's samples: grey; grey, alpha; red, green, blue;
  // red, green, blue, alpha; or a palette index.
  std::vector<uint32_t> samples;
  std::vector<std::array<uint8_t, 3>> palette;
  std::vector<uint8_t> palette_alpha;          // tRNS of a palette picture
  std::optional<std::array<uint16_t, 3>> key;  // tRNS of a grey (first value) or RGB picture
};

namespace png_maker_detail {

inline unsigned channels(int colour_type) {
  switch (colour_type) {
    case PNG_COLOR_TYPE_GRAY_ALPHA:
      return 2;
    case PNG_COLOR_TYPE_RGB:
      return 3;
    case PNG_COLOR_TYPE_RGB_ALPHA:
      return 4;
    default:
      return 1;
  }
}

// The rows as PNG stores them: samples below 8 bits packed from the top bit
// down, 16-bit ones high byte first.
inline std::vector<std::vector<png_byte>> pack_rows(const PngLayout& s) {
  const unsigned per_pixel = channels(s.colour_type);
  const size_t bits = size_t{s.width} * per_pixel * s.bit_depth;
  std::vector<std::vector<png_byte>> rows(s.height, std::vector<png_byte>((bits + 7) / 8));
  for (uint32_t y = 0; y < s.height; ++y) {
    for (size_t i = 0; i < size_t{s.width} * per_pixel; ++i) {
      const uint32_t v = s.samples.at(y * s.width * per_pixel + i);
      png_byte* row = rows[y].data();
      if (s.bit_depth == 16) {
        row[2 * i] = static_cast<png_byte>(v >> 8);
        row[2 * i + 1] = static_cast<png_byte>(v);
      } else if (s.bit_depth == 8) {
        row[i] = static_cast<png_byte>(v);
      } else {
        const size_t bit = i * s.bit_depth;
        row[bit / 8] |= static_cast<png_byte>(v << (8 - s.bit_depth - bit % 8));
      }
    }
  }
  return rows;
}

inline void write_to(png_structp png, png_bytep data, size_t n) {
  static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<char*>(data), n);
}
inline void no_flush(png_structp) {}

struct Prepared {
  std::vector<std::vector<png_byte>> rows;
  std::vector<png_bytep> row_pointers;
  std::vector<png_color> palette;
  png_color_16 key{};
};

// Every libpng call after setjmp; no object here has a destructor, so the
// longjmp of an error passes over none.
inline bool write_guarded(png_structp png, png_infop info, const PngLayout& s, Prepared& p) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_IHDR(png, info, s.width, s.height, s.bit_depth, s.colour_type,
               s.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!p.palette.empty())
    png_set_PLTE(png, info, p.palette.data(), static_cast<int>(p.palette.size()));
  if (!s.palette_alpha.empty())
    png_set_tRNS(png, info, s.palette_alpha.data(), static_cast<int>(s.palette_alpha.size()),
                 nullptr);
  if (s.key) png_set_tRNS(png, info, nullptr, 0, &p.key);
  png_write_info(png, info);
  png_write_image(png, p.row_pointers.data());
  png_write_end(png, nullptr);
  return true;
}

}  // namespace png_maker_detail

// The bytes of the PNG file s describes; empty when libpng refuses it.
inline std::string png_make(const PngLayout& s) {
  using namespace png_maker_detail;
  Prepared p;
  p.rows = pack_rows(s);
  for (auto& row : p.rows) p.row_pointers.push_back(row.data());
  for (const auto& c : s.palette) p.palette.push_back({c[0], c[1], c[2]});
  if (s.key) {
    p.key.gray = (*s.key)[0];
    p.key.red = (*s.key)[0];
    p.key.green = (*s.key)[1];
    p.key.blue = (*s.key)[2];
  }
  std::string out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (info) {
    png_set_write_fn(png, &out, write_to, no_flush);
    if (!write_guarded(png, info, s, p)) out.clear();
  }
  png_destroy_write_struct(&png, &info);
  return out;
}
