// Generated inputs for the benchmarks: large .sym fonts with a codepage, many
// small fonts, big pictures at every depth the converter handles, a 256-entry
// palette and the configurations that combine them. Everything is made from a
// fixed seed, so two runs (and two builds) see the same bytes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace bench {

// Picture depths and conversions measured.
enum class PicMode {
  direct24,   // 24 bits, converted to 16-bit 5-6-5 colour
  palette8,   // 8 bits with a 256-entry table, palette mode
  narrowed4,  // 4 bits, palette mode, narrowed to 2 bits
  grey24,     // the 24-bit picture in grey mode with 256 levels
};

// Sizes of one full workload; the benchmark's linearity checks also build
// a half one (half the fonts, symbols and picture rows).
struct WorkloadSize {
  uint32_t big_symbols = 65535;  // symbols in big.sym (16 x 16 pixels)
  uint32_t small_fonts = 5000;   // fonts selected by one wildcard entry
  uint32_t small_symbols = 32;   // symbols in each small font (8 x 8 pixels)
  uint16_t pic_width = 4096;
  uint16_t pic_height = 4096;
};

// Writes a .sym font of n b&w symbols, 16 x 16 pixels, widths 9 to 16, whose
// first line names codepage cpname (none when empty). Returns its size in
// bytes.
uint64_t write_big_sym(const std::filesystem::path& file, uint32_t n, const std::string& cpname);
// Writes a codepage whose ranges cover n symbols from character 32 on.
void write_codepage(const std::filesystem::path& file, uint32_t n);
// Writes a small 8 x 8 font of n symbols; seed varies its pixels.
uint64_t write_small_sym(const std::filesystem::path& file, uint32_t n, uint32_t seed);
// Writes the 256-entry palette that the palette-mode pictures use.
void write_palette(const std::filesystem::path& file);
// Writes a bottom-up BMP picture for mode (grey24 writes the 24-bit one).
void write_picture(const std::filesystem::path& file, PicMode mode, uint16_t width,
                   uint16_t height);

// Writes a whole workload of the given size into dir (created when missing):
//   big.sym, big.cp                  the large font and its codepage
//   fonts/f*.sym                     the small fonts, one wildcard selects all
//   pal256.pal, pic24.bmp, pic8.bmp, pic4.bmp
//   sym.vfg, small.vfg, pic24.vfg, pic8.vfg, pic4.vfg, grey24.vfg
//                                    one configuration per measured case
//   listed.vfg                       every small font named on a line of its
//                                    own, twice (under two names)
//   images.vfg, images/              an image of its own for every small font
//   all.vfg                          all of them, combined into several images
void write_workload(const std::filesystem::path& dir, const WorkloadSize& size);

// The size with half the small fonts, half the big font's symbols (32767 of
// 65535) and half the picture rows.
WorkloadSize half_of(const WorkloadSize& size);

}  // namespace bench
