// Benchmark of kavinta20a: the whole run after the name prompt (reading,
// sorting, writing the frequency list) on the 5,000,000-word corpus of the
// frequency edition, in-process on the in-memory console and the real file
// system, with its peak memory; and, on the same corpus file, the classic
// pipeline a user would reach for instead:
//
//   LC_ALL=C tr -s ' \t\r\n' '\n' < corpus | LC_ALL=C sort | LC_ALL=C uniq -c
//
// which does less (no folding, no filter, no Turkish order). Prints the
// median times, the memory and the ratio of the two.
//
//   freq_bench [--words N] [--seed S] [--runs R]
#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_util.h"
#include "bench/corpus.h"
#include "console/memory_console.h"
#include "console/run.h"
#include "freq/kavinta20a.h"

namespace kavinta {
namespace {

using namespace bench;  // NOLINT: the shared clocks and figures

double CurrentRssMiB() {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::strtod(line.c_str() + 6, nullptr) / 1024.0;
  }
  return 0;
}

struct RunFigures {
  double read = 0, sort = 0, write = 0;
  Cpu cpu;  // processor time of the three phases
  double total() const { return read + sort + write; }
  int32_t records = 0;
  bool ok = false;
};

/// One run of kavinta20a on `name`.txt in the current folder, timed from the
/// moment the name has been typed. The banner's pause costs nothing on the
/// in-memory console.
RunFigures OneRun(const std::string& name) {
  MemoryConsole console;
  RealFileSystem fs;
  auto state = std::make_unique<RunState>(console, fs);
  console.Type(name + "\r");
  GIRIS(kFrequencyEdition, *state);
  RunFigures f;
  const Cpu cpu_start = CpuSeconds();
  Clock::time_point t = Clock::now();
  AYRISTIRMA(kFrequencyEdition, *state);
  f.read = Since(t);
  if (state->HATA != kGoOn) return f;
  t = Clock::now();
  SIRALAMA(*state, 1, state->N());
  f.sort = Since(t);
  t = Clock::now();
  kFrequencyEdition.write(*state);
  f.write = Since(t);
  const Cpu cpu_end = CpuSeconds();
  f.cpu = {cpu_end.user - cpu_start.user, cpu_end.system - cpu_start.system};
  f.records = state->N();
  f.ok = state->failure.empty() && console.Text(17).find("İşlem bitti.") != std::string::npos;
  return f;
}

int Main(int argc, char** argv) {
  BenchArgs args = ParseBenchArgs(argc, argv, bench::Edition::kFrequency20a);
  bench::CorpusOptions& options = args.corpus;
  const int runs = args.runs;

  BenchFolder folder("kavinta-freq-bench");

  size_t corpus_bytes;
  {
    Clock::time_point t = Clock::now();
    std::string text = bench::GenerateCorpus(options);
    corpus_bytes = text.size();
    std::ofstream("korpus.txt", std::ios::binary)
        .write(text.data(), static_cast<std::streamsize>(text.size()));
    std::printf(
        "freq_bench: %lld words, seed %llu, %.1f MB (%.1f MiB) corpus in %.2f s\n\n",
        static_cast<long long>(options.words), static_cast<unsigned long long>(options.seed),
        static_cast<double>(corpus_bytes) / 1e6, MiB(static_cast<double>(corpus_bytes)), Since(t));
  }
  malloc_trim(0);
  const double rss_before = CurrentRssMiB();
  const bool peak_reset = ResetPeakRss();

  std::vector<double> read, sort, write, total, user, system;
  RunFigures last;
  for (int run = 0; run < runs; ++run) {
    last = OneRun("korpus");
    if (!last.ok) {
      std::fprintf(stderr, "freq_bench: the run did not end with a complete list\n");
      return 1;
    }
    read.push_back(last.read);
    sort.push_back(last.sort);
    write.push_back(last.write);
    total.push_back(last.total());
    user.push_back(last.cpu.user);
    system.push_back(last.cpu.system);
  }
  const double peak = MaxRssMiB();

  // The list of the last run: its lines and totals.
  int64_t list_lines = 0;
  std::string tail;
  {
    std::ifstream in("korpusDizin.txt", std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
      ++list_lines;
      if (!line.empty() && line != "\r") tail = line;
    }
  }
  // The last line is "Madde başı:", a tab and the number of distinct words.
  const std::string distinct =
      tail.substr(tail.find('\t') + 1, tail.find('\r') - tail.find('\t') - 1);

  std::vector<double> classic;
  for (int run = 0; run < 3; ++run) {
    Clock::time_point t = Clock::now();
    int rc = std::system(
        "LC_ALL=C tr -s ' \\t\\r\\n' '\\n' < korpus.txt | LC_ALL=C sort | LC_ALL=C uniq -c "
        "> /dev/null");
    classic.push_back(Since(t));
    if (rc != 0) {
      std::fprintf(stderr, "freq_bench: the classic pipeline failed (%d)\n", rc);
      return 1;
    }
  }

  std::printf("kavinta20a, whole run after the prompt (median of %d)\n", runs);
  std::printf("  %-40s %d\n", "records (N)", last.records);
  std::printf("  %-40s %s (%lld lines in the list)\n", "distinct words", distinct.c_str(),
              static_cast<long long>(list_lines));
  std::printf("  %-40s %.3f s\n", "1/3 read", Median(read));
  std::printf("  %-40s %.3f s\n", "2/3 sort", Median(sort));
  std::printf("  %-40s %.3f s\n", "3/3 write", Median(write));
  std::printf("  %-40s %.3f s   (target <= 0.9 s)\n", "whole run", Median(total));
  // Processor time is less disturbed than wall time by other load on the
  // machine; system time is mostly the page faults of fresh memory.
  std::printf("  %-40s %.3f s user + %.3f s system\n", "processor time of the whole run",
              Median(user), Median(system));
  if (peak_reset) {
    std::printf("  %-40s %.1f MiB   (target <= 250 MB; %.1f MiB before the runs)\n",
                "peak RSS of the runs (getrusage)", peak, rss_before);
  } else {
    std::printf("  %-40s %.1f MiB   (includes the corpus generation)\n",
                "peak RSS of the process (getrusage)", peak);
  }
  std::printf("\nclassic pipeline, tr | sort | uniq -c (median of 3)\n");
  std::printf("  %-40s %.3f s\n", "whole pipeline", Median(classic));
  std::printf("\nratio kavinta20a / classic pipeline: %.2f\n", Median(total) / Median(classic));

  return 0;
}

}  // namespace
}  // namespace kavinta

int main(int argc, char** argv) { return kavinta::Main(argc, argv); }
