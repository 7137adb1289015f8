// What the benchmarks share: clocks, medians and the process's memory
// figures.
#pragma once

#include <stdlib.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/corpus.h"

namespace kavinta::bench {

using Clock = std::chrono::steady_clock;

inline double Since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

inline double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

inline double MiB(double bytes) { return bytes / (1024.0 * 1024.0); }

/// The peak resident size of the process (getrusage), in MiB.
inline double MaxRssMiB() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_maxrss) / 1024.0;  // KiB on Linux
}

/// Resets the kernel's peak resident size of this process, so that a peak
/// read afterwards belongs to what ran since, not to the corpus generation.
inline bool ResetPeakRss() {
  std::ofstream out("/proc/self/clear_refs");
  out << "5";
  out.flush();
  return static_cast<bool>(out);
}

/// Processor time of this process so far, user and system, in seconds: less
/// disturbed than the wall clock when other work shares the machine.
struct Cpu {
  double user = 0, system = 0;
  double total() const { return user + system; }
};
inline Cpu CpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  auto s = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
  };
  return {s(u.ru_utime), s(u.ru_stime)};
}

/// The command line of the program benchmarks:
///   [--words N] [--seed S] [--runs R]
struct BenchArgs {
  CorpusOptions corpus;
  int runs = 5;
};
inline BenchArgs ParseBenchArgs(int argc, char** argv, Edition edition) {
  BenchArgs args;
  args.corpus.edition = edition;
  for (int k = 1; k + 1 < argc; k += 2) {
    if (std::strcmp(argv[k], "--words") == 0)
      args.corpus.words = std::strtoll(argv[k + 1], nullptr, 10);
    if (std::strcmp(argv[k], "--seed") == 0)
      args.corpus.seed = std::strtoull(argv[k + 1], nullptr, 10);
    if (std::strcmp(argv[k], "--runs") == 0) args.runs = std::max(1, std::atoi(argv[k + 1]));
  }
  return args;
}

/// A fresh temporary folder that is the current folder while the object
/// lives: the corpus goes there and the runs write their files beside it.
class BenchFolder {
 public:
  explicit BenchFolder(const char* name) {
    std::string path = (std::filesystem::temp_directory_path() / name).string() + "-XXXXXX";
    if (!mkdtemp(path.data())) {
      std::perror("mkdtemp");
      std::exit(1);
    }
    dir_ = path;
    old_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_);
  }
  ~BenchFolder() {
    std::error_code ec;
    std::filesystem::current_path(old_, ec);
    std::filesystem::remove_all(dir_, ec);
  }

 private:
  std::filesystem::path dir_, old_;
};

}  // namespace kavinta::bench
