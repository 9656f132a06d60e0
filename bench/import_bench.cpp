// Times whole runs of "tralk-import font" on the largest import a user is
// likely to ask for: every character of DejaVu Sans below 0x10000, at 16
// pixels and 4 bits per pixel. Each run is a process of its own, so wait4
// gives its CPU time and peak resident memory alone. Not a test: the figures
// are printed beside their target.
//
//   tralk_importbench --import PATH_TO_TRALK_IMPORT [--runs N] [--font FILE]
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/process_timer.h"

namespace fs = std::filesystem;

namespace {

constexpr double kTargetSeconds = 1.0;
constexpr double kMiB = 1024.0 * 1024.0;

struct Options {
  std::string import;
  std::string font = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
  int runs = 7;
};

using bench::Sample;

[[noreturn]] void die(const std::string& msg) {
  std::fprintf(stderr, "tralk_importbench: %s\n", msg.c_str());
  std::exit(1);
}

Options parse_options(int argc, char** argv) {
  Options opt;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (i + 1 >= argc) die("option " + arg + " needs a value");
    if (arg == "--import")
      opt.import = argv[++i];
    else if (arg == "--font")
      opt.font = argv[++i];
    else if (arg == "--runs")
      opt.runs = std::max(1, std::atoi(argv[++i]));
    else
      die("unknown option " + arg);
  }
  if (opt.import.empty()) die("--import PATH_TO_TRALK_IMPORT is needed");
  // The runs start in a folder of their own.
  opt.import = fs::absolute(opt.import).string();
  opt.font = fs::absolute(opt.font).string();
  return opt;
}

// One import in dir, its messages in log.
Sample run_once(const Options& opt, const fs::path& dir, const fs::path& log) {
  return bench::run_process({opt.import, "font", opt.font, "--size", "16", "--bpp", "4", "-r",
                             "0-0xFFFF", "-o", "all.sym"},
                            dir, log);
}

using bench::median;

// The third line of the import's report: "N symbols, ...".
std::string shape_line(const fs::path& log) {
  std::FILE* f = std::fopen(log.c_str(), "r");
  char line[512] = "";
  for (int i = 0; f && i < 3 && std::fgets(line, sizeof line, f); ++i) {
  }
  if (f) std::fclose(f);
  return line;
}

}  // namespace

int main(int argc, char** argv) {
  const Options opt = parse_options(argc, argv);
  const fs::path dir =
      fs::temp_directory_path() / ("tralk-importbench-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const fs::path log = dir / "messages.txt";

  run_once(opt, dir, log);  // warm-up: the font in the page cache
  std::vector<double> wall, cpu, peak;
  for (int i = 0; i < opt.runs; ++i) {
    const Sample s = run_once(opt, dir, log);
    wall.push_back(s.seconds);
    cpu.push_back(s.cpu);
    peak.push_back(s.peak_bytes);
  }
  const double sym_bytes = static_cast<double>(fs::file_size(dir / "all.sym"));
  std::printf("Import of every character of %s below 0x10000, 16 px, 4 bits per pixel\n",
              opt.font.c_str());
  std::printf("  %s", shape_line(log).c_str());
  std::printf("  .sym file: %.1f MiB\n", sym_bytes / kMiB);
  std::printf("Medians of %d runs (CPU = user + system time of the process):\n", opt.runs);
  std::printf("  CPU  %.3f s   wall %.3f s   target: under %.1f s  %s\n", median(cpu), median(wall),
              kTargetSeconds, median(cpu) < kTargetSeconds ? "met" : "MISSED");
  std::printf("  peak memory %.1f MiB (largest of the runs %.1f MiB)\n", median(peak) / kMiB,
              *std::max_element(peak.begin(), peak.end()) / kMiB);
  std::error_code ec;
  fs::remove_all(dir, ec);
  return median(cpu) < kTargetSeconds ? 0 : 1;
}
