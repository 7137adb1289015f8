// Benchmark of kavinta23: the three phases of a run after the name prompt
// (reading the transcription, sorting, writing the index, the problem file
// and the head counts), each timed on its own, and the whole run, on the
// 5,000,000-word corpus of the index edition, in-process on the in-memory
// console and the real file system; and the peak memory of the runs.
//
//   index_bench [--words N] [--seed S] [--runs R]
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
#include "index/kavinta23.h"

namespace kavinta {
namespace {

using namespace bench;  // NOLINT: the shared clocks and figures

/// Wall-clock and processor time of one phase.
struct Timer {
  Clock::time_point wall = Clock::now();
  double cpu = CpuSeconds().total();
  void Stop(double* wall_s, double* cpu_s) const {
    *wall_s = Since(wall);
    *cpu_s = CpuSeconds().total() - cpu;
  }
};

struct RunFigures {
  double read = 0, sort = 0, write = 0;
  double read_cpu = 0, sort_cpu = 0, write_cpu = 0;
  double total() const { return read + sort + write; }
  double total_cpu() const { return read_cpu + sort_cpu + write_cpu; }
  int32_t records = 0;
  bool ok = false;
};

/// One run of kavinta23 on `name`.txt in the current folder with the count
/// answer E, timed from the moment the keys have been typed; the banner's
/// pause costs nothing on the in-memory console.
RunFigures OneRun(const std::string& name) {
  MemoryConsole console;
  RealFileSystem fs;
  auto state = std::make_unique<RunState>(console, fs);
  console.Type(name + "\rE");
  GIRIS(kIndexEdition, *state);
  RunFigures f;
  Timer read;
  AYRISTIRMA(kIndexEdition, *state);
  read.Stop(&f.read, &f.read_cpu);
  if (state->HATA != kGoOn) return f;
  Timer sort;
  SIRALAMA(*state, 1, state->N());
  sort.Stop(&f.sort, &f.sort_cpu);
  Timer write;
  kIndexEdition.write(*state);
  write.Stop(&f.write, &f.write_cpu);
  f.records = state->N();
  f.ok = state->failure.empty() && console.Text(17).find("İşlem bitti.") != std::string::npos;
  return f;
}

/// The last line of a file, without its line end.
std::string LastLine(const char* name, int64_t* lines) {
  std::ifstream in(name, std::ios::binary);
  std::string line, last;
  *lines = 0;
  while (std::getline(in, line)) {
    ++*lines;
    if (!line.empty() && line != "\r") last = line;
  }
  if (!last.empty() && last.back() == '\r') last.pop_back();
  // For the terminal: the tab as a blank, the Turkish letters of the labels
  // in UTF-8.
  std::string shown;
  for (char c : last) {
    switch (static_cast<uint8_t>(c)) {
      case '\t':
        shown += ' ';
        break;
      case 0xE7:
        shown += "ç";
        break;
      case 0xFD:
        shown += "ı";
        break;
      case 0xFE:
        shown += "ş";
        break;
      default:
        shown += c;
    }
  }
  return shown;
}

int Main(int argc, char** argv) {
  BenchArgs args = ParseBenchArgs(argc, argv, bench::Edition::kIndex23);
  bench::CorpusOptions& options = args.corpus;
  const int runs = args.runs;

  BenchFolder folder("kavinta-index-bench");

  {
    Clock::time_point t = Clock::now();
    std::string text = bench::GenerateCorpus(options);
    std::ofstream("korpus.txt", std::ios::binary)
        .write(text.data(), static_cast<std::streamsize>(text.size()));
    std::printf(
        "index_bench: %lld words, seed %llu, %.1f MB (%.1f MiB) corpus in %.2f s\n\n",
        static_cast<long long>(options.words), static_cast<unsigned long long>(options.seed),
        static_cast<double>(text.size()) / 1e6, MiB(static_cast<double>(text.size())), Since(t));
  }
  malloc_trim(0);
  const bool peak_reset = ResetPeakRss();

  std::vector<double> read, sort, write, total, read_cpu, sort_cpu, write_cpu, total_cpu;
  RunFigures last;
  for (int run = 0; run < runs; ++run) {
    last = OneRun("korpus");
    if (!last.ok) {
      std::fprintf(stderr, "index_bench: the run did not end with a complete index\n");
      return 1;
    }
    read.push_back(last.read);
    sort.push_back(last.sort);
    write.push_back(last.write);
    total.push_back(last.total());
    read_cpu.push_back(last.read_cpu);
    sort_cpu.push_back(last.sort_cpu);
    write_cpu.push_back(last.write_cpu);
    total_cpu.push_back(last.total_cpu());
  }
  const double peak = MaxRssMiB();

  int64_t index_lines = 0, count_lines = 0;
  const std::string totals = LastLine("korpusDizin.txt", &index_lines);
  LastLine("MBS.txt", &count_lines);

  std::printf("kavinta23, run after the prompts with counts (median of %d)\n", runs);
  std::printf("  %-34s %d\n", "records (N)", last.records);
  std::printf("  %-34s %lld (last: %s)\n", "index lines", static_cast<long long>(index_lines),
              totals.c_str());
  std::printf("  %-34s %lld\n", "head-count lines", static_cast<long long>(count_lines));
  std::printf("  %-34s %8s %8s\n", "", "wall", "cpu");
  const struct {
    const char* phase;
    const std::vector<double>& wall;
    const std::vector<double>& cpu;
    const char* target;
  } rows[] = {
      {"1/3 read", read, read_cpu, "0.25"},
      {"2/3 sort", sort, sort_cpu, "0.45"},
      {"3/3 write", write, write_cpu, "0.2"},
      {"whole run", total, total_cpu, "1.0"},
  };
  for (const auto& r : rows) {
    std::printf("  %-34s %6.3f s %6.3f s   (target <= %s s)\n", r.phase, Median(r.wall),
                Median(r.cpu), r.target);
  }
  std::printf("  %-34s %.1f MiB (target <= 250 MB)%s\n", "peak RSS (getrusage)", peak,
              peak_reset ? "" : ", includes the corpus generation");

  return 0;
}

}  // namespace
}  // namespace kavinta

int main(int argc, char** argv) { return kavinta::Main(argc, argv); }
