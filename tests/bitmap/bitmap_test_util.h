// Helpers shared by the bitmap tests: a scratch directory and symbols built
// from or read into plain pixel lists.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "bitmap/symbol.h"
#include "support/bmp_builder.h"

// A fresh directory under the system's temporary directory, removed again
// when the test ends.
class ScratchDir {
 public:
  ScratchDir() {
    static std::atomic<unsigned> serial{0};
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = std::filesystem::temp_directory_path() /
            ("tralk_bitmap_" + std::string(info ? info->name() : "x") + "_" +
             std::to_string(std::random_device{}()) + "_" + std::to_string(serial++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~ScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  // Writes the BMP described by layout under name and returns its path.
  std::string bmp(const std::string& name, const BmpLayout& layout) const {
    const auto p = path_ / name;
    write_bytes(p, bmp_build(layout));
    return p.string();
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// A symbol of the given shape whose pixels, row by row, are values.
inline SYMBOL make_symbol(uint16_t width, uint16_t height, uint16_t numbits,
                          const std::vector<uint32_t>& values) {
  SYMBOL sym = sym_create(width, height, numbits);
  for (uint16_t y = 0; y < height; ++y)
    for (uint16_t x = 0; x < width; ++x) sym_setpixel(sym, x, y, values.at(y * width + x));
  return sym;
}

// All pixels of sym, row by row.
inline std::vector<uint32_t> pixels_of(const SYMBOL& sym) {
  SYMSHAPE s;
  if (!sym_shape(sym, s)) return {};
  std::vector<uint32_t> out;
  for (uint16_t y = 0; y < s.height; ++y)
    for (uint16_t x = 0; x < s.width; ++x) out.push_back(sym_getpixel(sym, x, y));
  return out;
}

// The header values of sym (2 for the b&w form, 4 for the colour form).
inline std::vector<uint16_t> header_of(const SYMBOL& sym) {
  std::vector<uint16_t> out;
  if (sym.size() < 4) return out;
  const unsigned n = sym_header(sym.data(), 0) == 0 ? 4 : 2;
  for (unsigned i = 0; i < n && 2 * i + 1 < sym.size(); ++i)
    out.push_back(sym_header(sym.data(), i));
  return out;
}

// The pixel bytes of sym, header dropped.
inline std::vector<uint8_t> data_of(const SYMBOL& sym) {
  const unsigned h = sym.size() >= 2 && sym_header(sym.data(), 0) == 0 ? 8 : 4;
  if (sym.size() < h) return {};
  return {sym.begin() + h, sym.end()};
}
