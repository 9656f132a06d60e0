// Inner operations on the generated workloads: .sym parsing, picture reading
// and conversion in every mode, and building the image. Each benchmark's
// label names its target; compare the median line against it.
//
// Inputs are generated once into a temporary folder and removed at exit.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/console.h"
#include "base/fileio.h"
#include "bench/workloads.h"
#include "driver/input_files.h"
#include "output/vmem.h"
#include "tests/support/bmp_as_is.h"
#include "tests/support/symbol_conversions.h"

namespace {

namespace fs = std::filesystem;
using bench::PicMode;

constexpr uint16_t kPicWidth = 4096;

// The generated files, made on first use.
class Inputs {
 public:
  static Inputs& get() {
    static Inputs inputs;
    return inputs;
  }
  ~Inputs() {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }

  // big.sym with n symbols (and its codepage); returns its path.
  const fs::path& big_sym(uint32_t n) {
    auto it = syms_.find(n);
    if (it != syms_.end()) return it->second;
    const std::string name = "big" + std::to_string(n);
    bench::write_codepage(dir_ / (name + ".cp"), n);
    const fs::path path = dir_ / (name + ".sym");
    bench::write_big_sym(path, n, name + ".cp");
    return syms_.emplace(n, path).first->second;
  }

  const fs::path& picture(PicMode mode, uint16_t height) {
    const PicMode file_mode = mode == PicMode::grey24 ? PicMode::direct24 : mode;
    const int key = static_cast<int>(file_mode) * 100000 + height;
    auto it = pics_.find(key);
    if (it != pics_.end()) return it->second;
    const fs::path path = dir_ / ("pic" + std::to_string(key) + ".bmp");
    bench::write_picture(path, file_mode, kPicWidth, height);
    return pics_.emplace(key, path).first->second;
  }

  const PALTABLE& palette() {
    if (!palette_) {
      bench::write_palette(dir_ / "pal256.pal");
      palette_ = load_palette_file((dir_ / "pal256.pal").string());
      if (!palette_) std::abort();
    }
    return *palette_;
  }

  const fs::path& small_sym(uint32_t i) {
    auto it = small_.find(i);
    if (it != small_.end()) return it->second;
    const fs::path path = dir_ / ("small" + std::to_string(i) + ".sym");
    bench::write_small_sym(path, 32, i);
    return small_.emplace(i, path).first->second;
  }

 private:
  Inputs() : dir_(fs::temp_directory_path() / ("tralk-bench-" + std::to_string(::getpid()))) {
    fs::create_directories(dir_);
  }

  fs::path dir_;
  std::map<uint32_t, fs::path> syms_;
  std::map<int, fs::path> pics_;
  std::map<uint32_t, fs::path> small_;
  PalTablePtr palette_;
};

// The conversions print a line on success; the benchmarks keep it quiet.
struct QuietConsole {
  QuietConsole() { con_capture_begin(); }
  ~QuietConsole() { con_capture_end(); }
};

const char* mode_name(PicMode mode) {
  switch (mode) {
    case PicMode::direct24:
      return "24-bit direct";
    case PicMode::palette8:
      return "8-bit palette";
    case PicMode::narrowed4:
      return "4-bit palette narrowed";
    case PicMode::grey24:
      return "24-bit grey 256";
  }
  return "";
}

// ---- .sym parsing ---------------------------------------------------------

// A .sym file read as the program reads it, its codepage beside it.
SymFontPtr load_font(const fs::path& path) {
  std::optional<std::string> cpname;
  return load_font_file(path.string(), cpname);
}

void BM_SymLoad(benchmark::State& state) {
  const fs::path& path = Inputs::get().big_sym(static_cast<uint32_t>(state.range(0)));
  const auto bytes = static_cast<int64_t>(fs::file_size(path));
  for (auto _ : state) {
    QuietConsole quiet;
    SymFontPtr font = load_font(path);
    if (!font) state.SkipWithError("sym_load failed");
    benchmark::DoNotOptimize(font);
  }
  state.SetBytesProcessed(state.iterations() * bytes);
  state.SetLabel("target >= 200 MB/s");
}
BENCHMARK(BM_SymLoad)->Arg(32767)->Arg(65535)->Unit(benchmark::kMillisecond);

// ---- pictures -----------------------------------------------------------------

SymFontPtr load_picture(const fs::path& path, PicMode mode) {
  const bool grey = mode == PicMode::grey24;
  const PALTABLE& pal = Inputs::get().palette();
  std::optional<PictureFont> picture =
      grey ? load_picture_file(path.string(), nullptr, 256, true)
           : load_picture_file(path.string(), pal.entries.data(),
                               static_cast<uint32_t>(pal.entries.size()), false);
  return picture ? std::move(picture->font) : nullptr;
}

// Reading and converting, as the program does for a picture entry.
void BM_BmpLoad(benchmark::State& state) {
  const auto mode = static_cast<PicMode>(state.range(0));
  const auto height = static_cast<uint16_t>(state.range(1));
  const fs::path& path = Inputs::get().picture(mode, height);
  Inputs::get().palette();
  for (auto _ : state) {
    QuietConsole quiet;
    SymFontPtr font = load_picture(path, mode);
    if (!font) state.SkipWithError("bmp_load failed");
    benchmark::DoNotOptimize(font);
  }
  state.SetItemsProcessed(state.iterations() * int64_t{kPicWidth} * height);
  state.SetLabel(std::string(mode_name(mode)) + ", pixels/s, target >= 100M/s");
}

// The conversion alone, on a picture already read.
void BM_Convert(benchmark::State& state) {
  const auto mode = static_cast<PicMode>(state.range(0));
  const auto height = static_cast<uint16_t>(state.range(1));
  const fs::path& path = Inputs::get().picture(mode, height);
  const PALTABLE& pal = Inputs::get().palette();
  const std::optional<FileBytes> bytes = read_input_file(path.string());
  Outcome<BmpAsIs> read =
      bytes ? bmp_read_as_is({bytes->data(), bytes->size}) : Outcome<BmpAsIs>(Failure{});
  if (!read.ok()) {
    state.SkipWithError("bmp_read failed");
    return;
  }
  const SYMBOL& sym = read->sym;
  const std::vector<RGBTRIPLET>& table = read->table;
  const auto count = static_cast<uint16_t>(table.size());
  for (auto _ : state) {
    QuietConsole quiet;
    SYMBOL out;
    switch (mode) {
      case PicMode::direct24:
        out = sym_colorconv(sym, nullptr, 0, nullptr, 0, 16);
        break;
      case PicMode::palette8:
      case PicMode::narrowed4:
        out = sym_colorconv(sym, table.data(), count, pal.entries.data(),
                            static_cast<uint16_t>(pal.entries.size()), 0);
        break;
      case PicMode::grey24:
        out = sym_greyconv(sym, nullptr, 0, 256);
        break;
    }
    if (out.empty()) state.SkipWithError("conversion failed");
    benchmark::DoNotOptimize(out);
  }
  state.SetItemsProcessed(state.iterations() * int64_t{kPicWidth} * height);
  state.SetLabel(std::string(mode_name(mode)) + ", pixels/s, target >= 100M/s");
}

void picture_args(benchmark::internal::Benchmark* b) {
  for (PicMode m : {PicMode::direct24, PicMode::palette8, PicMode::narrowed4, PicMode::grey24}) {
    for (int height : {2048, 4096}) b->Args({static_cast<int>(m), height});
  }
}
BENCHMARK(BM_BmpLoad)->Apply(picture_args)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Convert)->Apply(picture_args)->Unit(benchmark::kMillisecond);

// ---- the image --------------------------------------------------------------

void BM_ImageOfBigFont(benchmark::State& state) {
  const fs::path& path = Inputs::get().big_sym(static_cast<uint32_t>(state.range(0)));
  SymFontPtr font = load_font(path);
  uint64_t size = 0;
  for (auto _ : state) {
    VMEMBUF image;
    if (!vmem_addfont(image, *font).ok()) state.SkipWithError("vmem_addfont failed");
    uint64_t written = 0;
    vmem_write(image, [&written](const uint8_t* p, size_t n) {
      benchmark::DoNotOptimize(p);
      written += n;
    });
    size = written;
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(size));
}
BENCHMARK(BM_ImageOfBigFont)->Arg(32767)->Arg(65535)->Unit(benchmark::kMillisecond);

// Many small fonts into one image.
void BM_ImageOfSmallFonts(benchmark::State& state) {
  const auto n = static_cast<uint32_t>(state.range(0));
  std::vector<SymFontPtr> fonts;
  for (uint32_t i = 0; i < n; ++i) fonts.push_back(load_font(Inputs::get().small_sym(i % 64)));
  for (auto _ : state) {
    VMEMBUF image;
    for (const SymFontPtr& f : fonts) {
      if (!vmem_addfont(image, *f).ok()) state.SkipWithError("vmem_addfont failed");
    }
    vmem_write(image, [](const uint8_t* p, size_t) { benchmark::DoNotOptimize(p); });
  }
  state.SetItemsProcessed(state.iterations() * n);
  state.SetLabel("fonts/s");
}
BENCHMARK(BM_ImageOfSmallFonts)->Arg(2500)->Arg(5000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
