// Times whole runs of the program on the generated workloads and prints each
// figure beside its target: throughput, peak memory against its bound, and
// how time and memory grow from a half-sized workload to the full one.
//
//   tralk_timebench --tralk PATH [--scan PATH] [--baseline PATH] [--runs N] [--work DIR]
//
// With --baseline, every run of PATH is paired with a run of the other
// program on the same input, right after it, and the two programs' messages
// and output files are compared byte for byte. Each run writes its files
// anew: the outputs of the run before are removed first.
//
// Some cases are also held against the floor of their work, timed the same
// way: copying the picture to a new file with cat, and scanning the numbers
// of the .sym font with a plain C program (--scan, bench/scan_numbers.c).
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "bench/process_timer.h"
#include "bench/workloads.h"

namespace {

namespace fs = std::filesystem;

constexpr double kMiB = 1024.0 * 1024.0;
constexpr double kGrowthLimit = 2.2;  // doubling the input: at most 2x, plus 10 percent
constexpr double kMemorySlack = 16 * kMiB;

enum class Measure { sym_bytes, pixels, fonts, listed_fonts, images, none };

// The floor a case is held against: the least any program must do with
// the same input.
enum class Floor {
  none,
  copy,  // cat the input to a new file
  scan,  // scan the numbers of the input
};

struct Case {
  std::string name;
  std::string what;
  std::string config;               // in the workload folder
  std::vector<std::string> images;  // .bin files the configuration writes
  Measure measure;
  double target = 0;      // throughput, in the measure's unit per second; 0 for none
  bool has_half = false;  // also run on the half workload
  Floor floor = Floor::none;
  std::string input = {};  // the file the floor works on
  double floor_limit = 0;  // at most this many times the floor's time
  double converted = 0;    // pixel bytes of the converted picture: the peak
                           // memory may be that plus 16 MiB; 0: no such bound
};

std::vector<std::string> image_names(uint32_t n) {
  std::vector<std::string> names;
  for (uint32_t i = 0; i < n; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "images/i%05u.bin", static_cast<unsigned>(i));
    names.push_back(name);
  }
  return names;
}

const std::vector<Case>& cases() {
  constexpr double kPicturePixels = 4096.0 * 4096.0;
  static const std::vector<Case> list = {
      {.name = "sym",
       .what = ".sym parsing, 65535 symbols",
       .config = "sym.vfg",
       .images = {"big.bin"},
       .measure = Measure::sym_bytes,
       .target = 200e6,
       .has_half = true,
       .floor = Floor::scan,
       .input = "big.sym",
       .floor_limit = 1.3},
      {.name = "small",
       .what = "5000 small fonts, one wildcard",
       .config = "small.vfg",
       .images = {"small.bin"},
       .measure = Measure::fonts,
       .has_half = true},
      {.name = "pic24",
       .what = "4096x4096 24-bit, direct colour",
       .config = "pic24.vfg",
       .images = {"pic24.bin"},
       .measure = Measure::pixels,
       .target = 150e6,
       .has_half = true,
       .floor = Floor::copy,
       .input = "pic24.bmp",
       .floor_limit = 2.5,
       .converted = 2 * kPicturePixels},
      {.name = "pic8",
       .what = "4096x4096 8-bit, palette mode",
       .config = "pic8.vfg",
       .images = {"pic8.bin"},
       .measure = Measure::pixels,
       .target = 200e6,
       .has_half = true},
      {.name = "pic4",
       .what = "4096x4096 4-bit, palette, narrowed",
       .config = "pic4.vfg",
       .images = {"pic4.bin"},
       .measure = Measure::pixels,
       .target = 100e6,
       .has_half = true},
      {.name = "grey24",
       .what = "4096x4096 24-bit, grey 256",
       .config = "grey24.vfg",
       .images = {"grey24.bin"},
       .measure = Measure::pixels,
       .target = 200e6,
       .has_half = true},
      {.name = "listed",
       .what = "10000 fonts named one per line",
       .config = "listed.vfg",
       .images = {"listed.bin"},
       .measure = Measure::listed_fonts,
       .has_half = true},
      {.name = "images",
       .what = "5000 images of one font each",
       .config = "images.vfg",
       .images = image_names(bench::WorkloadSize{}.small_fonts),
       .measure = Measure::images,
       .has_half = true},
      {.name = "all",
       .what = "all of them, four images",
       .config = "all.vfg",
       .images = {"big.bin", "small.bin", "pictures.bin", "grey.bin"},
       .measure = Measure::none},
  };
  return list;
}

using bench::Sample;

struct Options {
  std::string tralk;
  std::string scan;  // the number scanner, for the floor of .sym runs
  std::string baseline;
  int runs = 5;
  std::string work;
  std::vector<std::string> only;  // case names; empty: every case
};

[[noreturn]] void die(const std::string& msg) {
  std::fprintf(stderr, "tralk_timebench: %s\n", msg.c_str());
  std::exit(1);
}

// Removes the files a case writes, so that the next run writes them anew.
void remove_outputs(const fs::path& dir, const Case& c) {
  for (const std::string& image : c.images) {
    for (const char* ext : {".c", ".h", ".bin"}) {
      fs::path f = dir / image;
      f.replace_extension(ext);
      std::error_code ec;
      fs::remove(f, ec);
    }
  }
}

// Runs program on the case's configuration inside dir; its messages go to
// log.
Sample run_once(const std::string& program, const fs::path& dir, const Case& c,
                const fs::path& log) {
  remove_outputs(dir, c);
  return bench::run_process({program, c.config}, dir, log);
}

// Does the floor's work on the case's input.
Sample run_floor(const Options& opt, const fs::path& dir, const Case& c, const fs::path& work) {
  const fs::path copy = work / "floor-output";
  std::error_code ec;
  fs::remove(copy, ec);
  if (c.floor == Floor::copy) return bench::run_process({"/bin/cat", c.input}, dir, copy);
  return bench::run_process({opt.scan, c.input}, dir, copy);
}

// The timer keeps its own memory small and never reads a whole output into
// memory: a child's peak memory counts what the timer had resident when it
// forked.

std::string slurp_small(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// 64-bit FNV-1a of a file's bytes, read in blocks; folded into h.
uint64_t hash_file(const fs::path& file, uint64_t h) {
  std::ifstream in(file, std::ios::binary);
  char buf[1 << 16];
  while (in.read(buf, sizeof buf) || in.gcount() > 0) {
    for (std::streamsize i = 0; i < in.gcount(); ++i) {
      h ^= static_cast<uint8_t>(buf[i]);
      h *= 0x100000001B3ull;
    }
  }
  return h ^ static_cast<uint64_t>(fs::exists(file) ? fs::file_size(file) : ~0ull);
}

// A fingerprint of everything one run leaves behind: its messages and its
// output files.
uint64_t run_outputs(const fs::path& dir, const Case& c, const fs::path& log) {
  uint64_t h = hash_file(log, 0xCBF29CE484222325ull);
  for (const std::string& image : c.images) {
    for (const char* ext : {".c", ".h", ".bin"}) {
      fs::path f = dir / image;
      f.replace_extension(ext);
      h = hash_file(f, h * 31 + 7);
    }
  }
  return h;
}

// Symbol data the program held for the image plus the image itself, read
// back from the image: each block's symbols with their 4- or 8-byte headers.
double held_bytes(const fs::path& bin) {
  std::ifstream in(bin, std::ios::binary);
  const uint64_t size = fs::file_size(bin);
  double symdata = 0;
  uint8_t head[38];
  for (uint64_t at = 0; at + sizeof head <= size;) {
    in.seekg(static_cast<std::streamoff>(at));
    if (!in.read(reinterpret_cast<char*>(head), sizeof head)) break;
    const auto u16 = [&](int i) { return uint32_t{head[i]} | uint32_t{head[i + 1]} << 8; };
    const auto u32 = [&](int i) { return u16(i) | u16(i + 2) << 16; };
    const uint32_t block = u32(0);
    if (block < sizeof head) break;
    const bool colour = head[7] != 0;
    if (u16(4) & 2) symdata += double(u16(16)) * (u32(18) + (colour ? 8 : 4));
    at += block;
  }
  return symdata + static_cast<double>(size);
}

using bench::median;

struct Series {
  std::vector<double> seconds;
  std::vector<double> cpus;
  std::vector<double> peaks;
  void add(const Sample& s) {
    seconds.push_back(s.seconds);
    cpus.push_back(s.cpu);
    peaks.push_back(s.peak_bytes);
  }
  double med_wall() const { return median(seconds); }
  double med_time() const { return median(cpus); }
  double med_peak() const { return median(peaks); }
};

struct Result {
  Series current;
  Series baseline;
  Series half;
  Series floor;
  double bound = 0;  // peak memory bound of the full run
  double work = 0;   // bytes of text, pixels or fonts of the full workload
  bool identical = true;
};

Options parse_options(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) die("missing value after " + a);
      return argv[++i];
    };
    if (a == "--tralk") {
      o.tralk = value();
    } else if (a == "--scan") {
      o.scan = value();
    } else if (a == "--baseline") {
      o.baseline = value();
    } else if (a == "--runs") {
      o.runs = std::max(1, std::atoi(value().c_str()));
    } else if (a == "--work") {
      o.work = value();
    } else if (a == "--case") {
      o.only.push_back(value());
    } else {
      die("unknown option " + a +
          "\nusage: tralk_timebench --tralk PATH [--scan PATH] [--baseline PATH] [--runs N]"
          " [--work DIR]"
          " [--case NAME]...");
    }
  }
  if (o.tralk.empty()) die("--tralk PATH is required");
  o.tralk = fs::absolute(o.tralk).string();
  if (!o.baseline.empty()) o.baseline = fs::absolute(o.baseline).string();
  if (!o.scan.empty()) o.scan = fs::absolute(o.scan).string();
  return o;
}

double workload_amount(const Case& c, const fs::path& dir, const bench::WorkloadSize& size) {
  switch (c.measure) {
    case Measure::sym_bytes:
      return static_cast<double>(fs::file_size(dir / "big.sym"));
    case Measure::pixels:
      return double(size.pic_width) * size.pic_height;
    case Measure::fonts:
    case Measure::images:
      return size.small_fonts;
    case Measure::listed_fonts:
      return 2.0 * size.small_fonts;
    case Measure::none:
      return 0;
  }
  return 0;
}

const char* verdict(bool ok) {
  return ok ? "ok" : "MISSED";
}

int missed = 0;
int checked = 0;
bool check(bool ok) {
  ++checked;
  if (!ok) ++missed;
  return ok;
}

void print_throughput(const Case& c, const Result& r) {
  const double cpu = r.work / r.current.med_time();
  const double wall = r.work / r.current.med_wall();
  switch (c.measure) {
    case Measure::sym_bytes:
      std::printf("  %-7s %-36s %7.1f MB/s  %7.1f MB/s  >= %.0f MB/s  %s\n", c.name.c_str(),
                  c.what.c_str(), cpu / 1e6, wall / 1e6, c.target / 1e6,
                  verdict(check(cpu >= c.target)));
      break;
    case Measure::pixels:
      std::printf("  %-7s %-36s %7.1f Mpx/s %7.1f Mpx/s >= %.0f Mpx/s %s\n", c.name.c_str(),
                  c.what.c_str(), cpu / 1e6, wall / 1e6, c.target / 1e6,
                  verdict(check(cpu >= c.target)));
      break;
    case Measure::fonts:
    case Measure::listed_fonts:
      std::printf("  %-7s %-36s %7.0f fonts/s %5.0f fonts/s (no target of its own)\n",
                  c.name.c_str(), c.what.c_str(), cpu, wall);
      break;
    case Measure::images:
      std::printf("  %-7s %-36s %7.0f images/s %4.0f images/s (no target of its own)\n",
                  c.name.c_str(), c.what.c_str(), cpu, wall);
      break;
    case Measure::none:
      break;
  }
}

void print_floor(const Case& c, const Result& r) {
  const double cpu = r.current.med_time() / r.floor.med_time();
  const double wall = r.current.med_wall() / r.floor.med_wall();
  std::printf("  %-7s %-26s %7.3f s %7.3f s  %5.2f x %5.2f x  <= %.1f x  %s\n", c.name.c_str(),
              c.floor == Floor::copy ? "cat the picture" : "scan the numbers", r.floor.med_time(),
              r.floor.med_wall(), cpu, wall, c.floor_limit, verdict(check(cpu <= c.floor_limit)));
}

bool wanted(const Options& opt, const Case& c) {
  return opt.only.empty() || std::find(opt.only.begin(), opt.only.end(), c.name) != opt.only.end();
}

// Generates the workloads unless dir already holds these very ones.
void prepare(const fs::path& dir, const bench::WorkloadSize& size) {
  const std::string stamp = "workload 2: " + std::to_string(size.big_symbols) + " " +
                            std::to_string(size.small_fonts) + " " +
                            std::to_string(size.small_symbols) + " " +
                            std::to_string(size.pic_width) + "x" + std::to_string(size.pic_height);
  if (slurp_small(dir / "stamp.txt") == stamp) return;
  bench::write_workload(dir, size);
  std::ofstream(dir / "stamp.txt", std::ios::binary) << stamp;
}

void print_side_by_side(const Options& opt, const std::vector<Result>& results) {
  std::printf(
      "\nSide by side with %s\n(medians of the paired runs; speed-up = baseline / current)\n",
      opt.baseline.c_str());
  std::printf("  %-7s %9s %9s %8s  %9s %9s %8s  %9s %9s  %s\n", "case", "base CPU", "CPU",
              "speed-up", "base wall", "wall", "speed-up", "base peak", "peak", "outputs");
  bool all_identical = true;
  for (size_t i = 0; i < cases().size(); ++i) {
    const Case& c = cases()[i];
    const Result& r = results[i];
    if (!wanted(opt, c)) continue;
    all_identical = all_identical && r.identical;
    std::printf("  %-7s %7.3f s %7.3f s %7.2fx  %7.3f s %7.3f s %7.2fx  %5.1f MiB %5.1f MiB  %s\n",
                c.name.c_str(), r.baseline.med_time(), r.current.med_time(),
                r.baseline.med_time() / r.current.med_time(), r.baseline.med_wall(),
                r.current.med_wall(), r.baseline.med_wall() / r.current.med_wall(),
                r.baseline.med_peak() / kMiB, r.current.med_peak() / kMiB,
                r.identical ? "identical" : "DIFFERENT");
  }
  if (!check(all_identical)) std::printf("\nThe two programs wrote different messages or files.\n");
}

}  // namespace

int main(int argc, char** argv) {
  const Options opt = parse_options(argc, argv);
  const bool temp_work = opt.work.empty();
  const fs::path work =
      temp_work ? fs::temp_directory_path() / ("tralk-timebench-" + std::to_string(::getpid()))
                : fs::absolute(opt.work);
  const bench::WorkloadSize full_size;
  const bench::WorkloadSize half_size = bench::half_of(full_size);
  const fs::path full_dir = work / "full";
  const fs::path half_dir = work / "half";

  std::printf("Workloads in %s\n", work.c_str());
  std::fflush(stdout);
  prepare(full_dir, full_size);
  prepare(half_dir, half_size);

  const bool paired = !opt.baseline.empty();
  std::vector<Result> results(cases().size());
  const fs::path log_now = work / "messages-current.txt";
  const fs::path log_base = work / "messages-baseline.txt";

  std::printf("Timing %d runs of each case on the full and the half workload%s ...\n", opt.runs,
              paired ? ", each paired with a run of the baseline" : "");
  std::fflush(stdout);
  for (size_t i = 0; i < cases().size(); ++i) {
    const Case& c = cases()[i];
    if (!wanted(opt, c)) continue;
    Result& r = results[i];
    r.work = workload_amount(c, full_dir, full_size);
    // Warm-up: fills the page cache and gives the outputs to compare.
    run_once(opt.tralk, full_dir, c, log_now);
    for (const std::string& image : c.images)
      r.bound = std::max(r.bound, held_bytes(full_dir / image));
    r.bound = c.converted ? c.converted + kMemorySlack : 2 * r.bound + kMemorySlack;
    if (paired) {
      const uint64_t mine = run_outputs(full_dir, c, log_now);
      run_once(opt.baseline, full_dir, c, log_base);
      r.identical = mine == run_outputs(full_dir, c, log_base);
    }
    const bool floor = c.floor == Floor::copy || (c.floor == Floor::scan && !opt.scan.empty());
    if (c.has_half) run_once(opt.tralk, half_dir, c, log_now);
    for (int run = 0; run < opt.runs; ++run) {
      r.current.add(run_once(opt.tralk, full_dir, c, log_now));
      if (paired) r.baseline.add(run_once(opt.baseline, full_dir, c, log_base));
      if (c.has_half) r.half.add(run_once(opt.tralk, half_dir, c, log_now));
      if (floor) r.floor.add(run_floor(opt, full_dir, c, work));
    }
  }

  std::printf("\nWhole runs of %s, medians of %d runs.\n", opt.tralk.c_str(), opt.runs);
  std::printf(
      "CPU = user + system time of the process, which other load on a shared machine\n"
      "hardly changes; wall = elapsed time. Targets are checked against CPU.\n");
  std::printf("\nThroughput (whole process: start, read, convert, write the three files)\n");
  std::printf("  %-7s %-36s %12s  %12s  %s\n", "case", "", "CPU", "wall", "target");
  for (size_t i = 0; i < cases().size(); ++i) {
    if (wanted(opt, cases()[i])) print_throughput(cases()[i], results[i]);
  }

  std::printf(
      "\nAgainst the floor of the same work (cat: copying the picture to a new file;\n"
      "scan: a plain C program that only scans the numbers), medians\n");
  std::printf("  %-7s %-26s %9s %9s  %7s %7s  %s\n", "case", "floor", "CPU", "wall", "CPU", "wall",
              "target");
  for (size_t i = 0; i < cases().size(); ++i) {
    if (wanted(opt, cases()[i]) && !results[i].floor.cpus.empty())
      print_floor(cases()[i], results[i]);
  }

  std::printf(
      "\nTime and peak memory (bound: the converted picture + 16 MiB for pic24, else\n"
      "2 x (symbol data held + image built) + 16 MiB)\n");
  std::printf("  %-7s %9s %9s %10s %10s\n", "case", "CPU", "wall", "peak", "bound");
  for (size_t i = 0; i < cases().size(); ++i) {
    const Case& c = cases()[i];
    const Result& r = results[i];
    if (!wanted(opt, c)) continue;
    const double peak = r.current.med_peak();
    std::printf("  %-7s %7.3f s %7.3f s %6.1f MiB %6.1f MiB  %s\n", c.name.c_str(),
                r.current.med_time(), r.current.med_wall(), peak / kMiB, r.bound / kMiB,
                verdict(check(peak <= r.bound)));
  }

  std::printf(
      "\nGrowth from the half workload (half the fonts, symbols, picture rows) to the full\n"
      "one; target: at most %.1f x in time (CPU) and in peak memory\n",
      kGrowthLimit);
  for (size_t i = 0; i < cases().size(); ++i) {
    const Case& c = cases()[i];
    const Result& r = results[i];
    if (!c.has_half || !wanted(opt, c)) continue;
    const double t = r.current.med_time() / r.half.med_time();
    const double m = r.current.med_peak() / r.half.med_peak();
    const bool t_ok = check(t <= kGrowthLimit);
    const bool m_ok = check(m <= kGrowthLimit);
    std::printf("  %-7s time %5.2f x %-6s  peak memory %5.2f x %s\n", c.name.c_str(), t,
                verdict(t_ok), m, verdict(m_ok));
  }

  if (paired) print_side_by_side(opt, results);

  std::printf("\n%d of %d checks met their target\n", checked - missed, checked);
  if (temp_work) {
    std::error_code ec;
    fs::remove_all(work, ec);
  }
  return 0;
}
