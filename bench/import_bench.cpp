// Times whole runs of "tralk-import font" on large imports, each against
// the floor of its work: tralk_ft_floor (ft_floor.cpp), a bare FreeType
// loop that loads and renders the same glyphs with the same flags. Each run
// is a process of its own, so wait4 gives its CPU time and peak resident
// memory alone; the import and the floor run in turn, so that a busy
// moment of the machine falls on both. Not a test: the figures are printed
// beside their target, at most 1.5 times the floor.
//
//   tralk_importbench --import PATH --floor PATH [--runs N]
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

constexpr double kTargetRatio = 1.5;
constexpr double kMiB = 1024.0 * 1024.0;

struct Workload {
  const char* name;
  const char* font;
  const char* size;
  const char* bpp;
  const char* first;
  const char* last;
};

// The imports of the benchmark table: Debian's fonts-dejavu-core,
// fonts-noto-cjk, xfonts-unifont and fonts-unifont.
const Workload kWorkloads[] = {
    {"DejaVu Sans < 0x10000, 16 px, 4 bpp", "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", "16",
     "4", "0", "0xFFFF"},
    {"Noto Sans CJK 0x4E00-0x9FFF, 16 px, 4 bpp",
     "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc", "16", "4", "0x4E00", "0x9FFF"},
    {"unifont BMP (PCF), 16 px, 1 bpp", "/usr/share/fonts/X11/misc/unifont.pcf.gz", "16", "1", "0",
     "0xFFFF"},
    {"unifont BMP (OTF), 16 px, 1 bpp", "/usr/share/fonts/opentype/unifont/unifont.otf", "16", "1",
     "0", "0xFFFF"},
};

struct Options {
  std::string import;
  std::string floor;
  int runs = 5;
};

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
    else if (arg == "--floor")
      opt.floor = argv[++i];
    else if (arg == "--runs")
      opt.runs = std::max(1, std::atoi(argv[++i]));
    else
      die("unknown option " + arg);
  }
  if (opt.import.empty() || opt.floor.empty()) die("--import PATH and --floor PATH are needed");
  // The runs start in a folder of their own.
  opt.import = fs::absolute(opt.import).string();
  opt.floor = fs::absolute(opt.floor).string();
  return opt;
}

std::vector<std::string> import_args(const Options& opt, const Workload& w) {
  return {opt.import, "font",   w.font,
          "--size",   w.size,   "--bpp",
          w.bpp,      "-r",     std::string(w.first) + "-" + w.last,
          "-o",       "all.sym"};
}

std::vector<std::string> floor_args(const Options& opt, const Workload& w) {
  return {opt.floor, w.font, "0", w.size, w.bpp, w.first, w.last};
}

// The import's line "N symbols, ..." (the third of its report).
std::string shape_line(const fs::path& log) {
  std::FILE* f = std::fopen(log.c_str(), "r");
  char line[512] = "";
  for (int i = 0; f && i < 3 && std::fgets(line, sizeof line, f); ++i) {
  }
  if (f) std::fclose(f);
  std::string s = line;
  return s.substr(0, s.find(" pixels wide") == std::string::npos ? s.size() : s.find(','));
}

struct Figures {
  std::vector<double> cpu, wall, peak;
  void add(const bench::Sample& s) {
    cpu.push_back(s.cpu);
    wall.push_back(s.seconds);
    peak.push_back(s.peak_bytes);
  }
};

// Times one workload; false when its target is missed.
bool time_workload(const Options& opt, const Workload& w, const fs::path& dir) {
  if (!fs::exists(w.font)) {
    std::printf("%-44s skipped: %s is not installed\n", w.name, w.font);
    return true;
  }
  const fs::path log = dir / "messages.txt", floor_log = dir / "floor.txt";
  // Warm-up: the font in the page cache.
  bench::run_process(import_args(opt, w), dir, log);
  bench::run_process(floor_args(opt, w), dir, floor_log);
  Figures import, floor;
  for (int i = 0; i < opt.runs; ++i) {
    // Each import writes its files anew, as the floor's work has none to
    // compare with: a run that finds its old files reads them to leave
    // unchanged ones alone.
    std::error_code ec;
    fs::remove(dir / "all.sym", ec);
    fs::remove(dir / "all.cp", ec);
    import.add(bench::run_process(import_args(opt, w), dir, log));
    floor.add(bench::run_process(floor_args(opt, w), dir, floor_log));
  }
  using bench::median;
  const double ratio = median(import.cpu) / median(floor.cpu);
  const bool met = ratio <= kTargetRatio;
  std::printf("%-44s %7.3f %7.3f %7.3f %7.3f %6.2f x  %s   %5.1f MiB   %s\n", w.name,
              median(import.cpu), median(import.wall), median(floor.cpu), median(floor.wall), ratio,
              met ? "met   " : "MISSED", median(import.peak) / kMiB, shape_line(log).c_str());
  std::fflush(stdout);
  return met;
}

}  // namespace

int main(int argc, char** argv) {
  const Options opt = parse_options(argc, argv);
  const fs::path dir =
      fs::temp_directory_path() / ("tralk-importbench-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  std::printf(
      "Medians of %d runs, seconds (CPU = user + system time of the process); "
      "target: import CPU <= %.1f x the floor's\n",
      opt.runs, kTargetRatio);
  std::printf("%-44s %7s %7s %7s %7s %8s  %-6s   %-9s   %s\n", "workload", "import", "wall",
              "floor", "wall", "ratio", "", "peak", "symbols");
  bool all_met = true;
  for (const Workload& w : kWorkloads) all_met = time_workload(opt, w, dir) && all_met;
  std::error_code ec;
  fs::remove_all(dir, ec);
  return all_met ? 0 : 1;
}
