// Peak memory of "tralk-import picture" on a 4096 x 4096 picture, against
// its bound: 16 MiB beyond one row, over what the same program takes for a
// picture of one pixel. Each run is a process of its own, so wait4 gives its
// peak resident memory alone. Not a test: the figures are printed beside
// their bound.
//
//   tralk_picturebench --import PATH_TO_TRALK_IMPORT
#include <png.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/process_timer.h"

namespace fs = std::filesystem;

namespace {

constexpr uint32_t kSide = 4096;
constexpr double kMiB = 1024.0 * 1024.0;
// One row as the importer holds it at most: red, green, blue and alpha of
// 16 bits each.
constexpr double kRowBytes = kSide * 8.0;

[[noreturn]] void die(const std::string& msg) {
  std::fprintf(stderr, "tralk_picturebench: %s\n", msg.c_str());
  std::exit(1);
}

// A side x side RGB picture of 256 colours (red from x, green from y),
// interlaced or not.
void write_png(const fs::path& path, uint32_t side, bool interlaced) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!f || !info || setjmp(png_jmpbuf(png))) die("cannot write " + path.string());
  png_init_io(png, f);
  png_set_compression_level(png, 1);
  png_set_IHDR(png, info, side, side, 8, PNG_COLOR_TYPE_RGB,
               interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  std::vector<png_byte> row(size_t{side} * 3);
  const int passes = png_set_interlace_handling(png);
  for (int pass = 0; pass < passes; ++pass)
    for (uint32_t y = 0; y < side; ++y) {
      for (uint32_t x = 0; x < side; ++x) {
        row[3 * x] = static_cast<png_byte>(x & 0xF0);
        row[3 * x + 1] = static_cast<png_byte>(y & 0xF0);
        row[3 * x + 2] = 0;
      }
      png_write_row(png, row.data());
    }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  std::fclose(f);
}

struct Case {
  const char* name;
  const char* input;
  std::vector<std::string> options;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 || std::string(argv[1]) != "--import") die("usage: --import PATH_TO_TRALK_IMPORT");
  const std::string import = fs::absolute(argv[2]).string();
  const fs::path dir =
      fs::temp_directory_path() / ("tralk-picturebench-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  write_png(dir / "one.png", 1, false);
  write_png(dir / "big.png", kSide, false);
  write_png(dir / "interlaced.png", kSide, true);
  const fs::path log = dir / "messages.txt";
  auto peak = [&](const char* input, const std::vector<std::string>& options) {
    std::vector<std::string> args{import, "picture", input, "-o", "out.bmp"};
    args.insert(args.end(), options.begin(), options.end());
    return bench::run_process(args, dir, log).peak_bytes;
  };
  const double base = peak("one.png", {});
  const double bound = base + 16 * kMiB + kRowBytes;
  std::printf(
      "tralk-import picture, %u x %u pixels; a picture of 1 pixel peaks at %.1f MiB,\n"
      "the bound is that + 16 MiB + one row = %.1f MiB\n",
      kSide, kSide, base / kMiB, bound / kMiB);
  const Case cases[] = {
      {"24 bits", "big.png", {}},
      {"8 bits, 256 colours (read twice)", "big.png", {"--depth", "8"}},
      {"1 bit, Floyd-Steinberg", "big.png", {"--depth", "1", "--dither", "floyd-steinberg"}},
      {"16 grey levels, ordered", "big.png", {"--depth", "4", "--dither", "ordered"}},
      {"24 bits, interlaced (in bands)", "interlaced.png", {}},
  };
  bool met = true;
  for (const Case& c : cases) {
    const double p = peak(c.input, c.options);
    met = met && p <= bound;
    std::printf("  %-34s peak %6.1f MiB  %s\n", c.name, p / kMiB, p <= bound ? "met" : "MISSED");
  }
  std::error_code ec;
  fs::remove_all(dir, ec);
  return met ? 0 : 1;
}
