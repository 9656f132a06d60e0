// Times whole runs of tralk-pack: an 8 MiB chip of 20 images with its HEX
// file, against the goal of 0.3 s and of 2 x the time cat takes to copy the
// same images to a new file (the floor: reading the inputs and writing as
// many bytes).
//
//   tralk_packbench --pack PATH [--runs N] [--work DIR]
//
// The images are made from a fixed seed: 20 of 40 KiB to 600 KiB, about
// 6 MiB together, of bytes that compress as little as fonts do. Each run
// writes its files anew: the outputs of the run before are removed first.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "bench/process_timer.h"

namespace {

namespace fs = std::filesystem;

constexpr double kGoalSeconds = 0.3;
constexpr double kGoalCats = 2.0;
constexpr int kImages = 20;

struct Options {
  std::string pack;
  int runs = 9;
  fs::path work;
};

Options parse(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--pack" && i + 1 < argc) {
      o.pack = argv[++i];
    } else if (a == "--runs" && i + 1 < argc) {
      o.runs = std::atoi(argv[++i]);
    } else if (a == "--work" && i + 1 < argc) {
      o.work = argv[++i];
    } else {
      std::fprintf(stderr, "usage: tralk_packbench --pack PATH [--runs N] [--work DIR]\n");
      std::exit(2);
    }
  }
  if (o.pack.empty() || o.runs < 1) {
    std::fprintf(stderr, "tralk_packbench: --pack PATH is needed\n");
    std::exit(2);
  }
  return o;
}

// The images; returns their file names and their total size.
std::vector<std::string> make_images(const fs::path& dir, size_t& total) {
  std::mt19937 gen(26);
  std::uniform_int_distribution<size_t> size(40 << 10, 600 << 10);
  std::vector<std::string> names;
  total = 0;
  for (int i = 0; i < kImages; ++i) {
    std::string bytes(size(gen) & ~size_t{3}, '\0');
    for (char& b : bytes) b = static_cast<char>(gen() % 7 == 0 ? 0 : gen());
    const std::string name = "image" + std::to_string(i) + ".bin";
    std::ofstream(dir / name, std::ios::binary) << bytes;
    names.push_back(name);
    total += bytes.size();
  }
  return names;
}

}  // namespace

int main(int argc, char** argv) {
  const Options opt = parse(argc, argv);
  const bool own_work = opt.work.empty();
  const fs::path work =
      own_work ? fs::temp_directory_path() / ("tralk-packbench-" + std::to_string(::getpid()))
               : opt.work;
  fs::create_directories(work);
  size_t total = 0;
  const std::vector<std::string> images = make_images(work, total);
  std::vector<std::string> pack = {fs::absolute(opt.pack).string(),
                                   "-o",
                                   "chip.bin",
                                   "--size",
                                   "8MiB",
                                   "--align",
                                   "4KiB",
                                   "--base",
                                   "0x90000000",
                                   "--header",
                                   "chip.h",
                                   "--hex",
                                   "chip.hex"};
  pack.insert(pack.end(), images.begin(), images.end());
  std::vector<std::string> cat = {"/bin/cat"};
  cat.insert(cat.end(), images.begin(), images.end());

  std::vector<double> packs, cats, cpu;
  for (int run = 0; run < opt.runs; ++run) {
    for (const char* f : {"chip.bin", "chip.h", "chip.hex", "chip.layout", "cat-output"})
      fs::remove(work / f);
    const bench::Sample p = bench::run_process(pack, work, work / "pack-output.txt");
    const bench::Sample c = bench::run_process(cat, work, work / "cat-output");
    packs.push_back(p.seconds);
    cpu.push_back(p.cpu);
    cats.push_back(c.seconds);
  }
  const double p = bench::median(packs), c = bench::median(cats);
  const auto hex_size = fs::file_size(work / "chip.hex");
  std::printf(
      "8 MiB chip of %d images (%.1f MiB) with its HEX file (%.1f MiB), medians of %d runs:\n"
      "  tralk-pack  %.3f s (%.3f s of CPU)   goal: at most %.1f s        %s\n"
      "  cat         %.3f s                   goal: at most %.1f x cat: %.2f x  %s\n",
      kImages, total / 1048576.0, hex_size / 1048576.0, opt.runs, p, bench::median(cpu),
      kGoalSeconds, p <= kGoalSeconds ? "met" : "NOT MET", c, kGoalCats, p / c,
      p <= kGoalCats * c ? "met" : "NOT MET");
  if (own_work) fs::remove_all(work);
  return 0;
}
