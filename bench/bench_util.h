// What the benchmarks share: clocks, medians and the process's memory
// figures.
#pragma once

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <string>
#include <vector>

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

}  // namespace kavinta::bench
