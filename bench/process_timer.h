// Timing one run of a program as a process of its own: fork and exec, with
// wait4 giving the CPU time and the peak resident memory of that process
// alone.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace bench {

struct Sample {
  double seconds = 0;  // wall-clock time
  double cpu = 0;      // user + system time of the process
  double peak_bytes = 0;
};

// Runs args (args[0] the program's path) inside dir with no standard input
// and its output going to out; nullopt-free: a run that fails, or cannot be
// started, ends the benchmark with a message naming out.
Sample run_process(const std::vector<std::string>& args, const std::filesystem::path& dir,
                   const std::filesystem::path& out);

// The median of v (not empty).
double median(std::vector<double> v);

}  // namespace bench
