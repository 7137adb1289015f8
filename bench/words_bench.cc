// Benchmark of the words layer: folding + encoding throughput, and the sort
// of a full record list (5,000,000 records) of either edition, with its
// memory. Prints one table; every time is the median of 5 runs.
//
//   words_bench [--words N] [--seed S]
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "bench/corpus.h"
#include "words/fold.h"
#include "words/record_list.h"
#include "words/sort_key.h"

namespace kavinta {
namespace {

constexpr int kRuns = 5;

// Times are the thread's CPU time: the machine may be shared, and waiting
// for a core is not the code's cost. The wall time is kept beside it.
struct Time {
  double cpu = 0;
  double wall = 0;
};

double ThreadCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

Time Measure(const std::function<void()>& f) {
  auto wall = std::chrono::steady_clock::now();
  double cpu = ThreadCpuSeconds();
  f();
  return {ThreadCpuSeconds() - cpu,
          std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count()};
}

double Seconds(const std::function<void()>& f) { return Measure(f).cpu; }

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

double MiB(double bytes) { return bytes / (1024.0 * 1024.0); }

double g_peak_before_resets_mib = 0;

// The peak of the whole run: ru_maxrss only knows the peak since the last
// reset, so the peaks before each reset are kept too.
double PeakRssMiB() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  double since_reset = static_cast<double>(u.ru_maxrss) / 1024.0;  // KiB on Linux
  return std::max(since_reset, g_peak_before_resets_mib);
}

// Current and peak resident size from /proc; the peak can be reset so that
// one phase is measured on its own.
double ProcStatusMiB(const char* field) {
  std::ifstream in("/proc/self/status");
  std::string line;
  size_t n = std::strlen(field);
  while (std::getline(in, line)) {
    if (line.compare(0, n, field) == 0) return std::strtod(line.c_str() + n + 1, nullptr) / 1024.0;
  }
  return 0;
}
bool ResetPeakRss() {
  g_peak_before_resets_mib = std::max(g_peak_before_resets_mib, ProcStatusMiB("VmHWM:"));
  std::ofstream out("/proc/self/clear_refs");
  out << "5";
  out.flush();
  return static_cast<bool>(out);
}

// Counts progress cells the way the bar computes its offset, so the virtual
// call and the arithmetic are part of the measured sort.
class CountingProgress : public SortProgress {
 public:
  explicit CountingProgress(int32_t n) : n_(n) {}
  void Cell(int32_t i) override {
    ++cells;
    offset = std::min<int64_t>(int64_t{i} * 50 / n_, 48);
  }
  int64_t cells = 0;
  int64_t offset = 0;

 private:
  int32_t n_;
};

// --- Folding and encoding -------------------------------------------------

// Tokenises on spaces (tabs fold to spaces) and line ends, folds every byte
// and encodes every token; returns a checksum so nothing is optimised away.
uint64_t FoldAndEncode(const std::string& text, const uint8_t* fold, const CodeTable& codes) {
  uint8_t token[ByteString::kMax];
  uint8_t out[ByteString::kMax];
  int n = 0;
  uint64_t sum = 0;
  for (char ch : text) {
    uint8_t c = fold[static_cast<uint8_t>(ch)];
    if (c == ' ' || c == '\r' || c == '\n') {
      if (n > 0) {
        int len = Encode(token, n, out, codes);
        sum += static_cast<uint64_t>(len) + (len > 0 ? out[len - 1] : 0);
        n = 0;
      }
    } else if (n < ByteString::kMax) {
      token[n++] = c;
    }
  }
  return sum;
}

// --- Records as the readers build them --------------------------------------

struct ByteSet {
  bool has[256] = {};
  explicit ByteSet(std::string_view bytes) {
    for (char c : bytes) has[static_cast<uint8_t>(c)] = true;
  }
};

// The index edition: the first token of a line is its location, every later
// token a word; bytes outside the alphabet are dropped after folding.
void BuildIndexRecords(const std::string& text, RecordList& list) {
  static const ByteSet allowed(
      ".-+()/1234567890abcdDefghijklmnNopqrstuvwxyz\xE7\xE9\xF0\xFD\xF1\xF6\xFE\xFC");
  uint8_t token[ByteString::kMax];
  uint8_t word[ByteString::kMax];
  uint8_t location[ByteString::kMax];
  uint8_t record[2 * ByteString::kMax + 1];
  int n = 0;
  int location_len = 0;
  auto flush = [&] {
    if (n == 0) return;
    if (location_len == 0) {
      location_len = Encode(token, n, location, kCodes23);
    } else {
      int len = Encode(token, n, word, kCodes23);
      if (len > 0) {
        std::memcpy(record, word, static_cast<size_t>(len));
        record[len] = ' ';
        std::memcpy(record + len + 1, location, static_cast<size_t>(location_len));
        list.Append(record, len + 1 + location_len);
      }
    }
    n = 0;
  };
  for (char ch : text) {
    uint8_t c = kFold23[static_cast<uint8_t>(ch)];
    if (c == '\r' || c == '\n') {
      flush();
      location_len = 0;
    } else if (c == ' ') {
      flush();
    } else if (allowed.has[c] && n < ByteString::kMax) {
      token[n++] = c;
    }
  }
  flush();
}

// The frequency edition: every token is a word; the filter comes before the
// fold and lets the capitals through.
void BuildFrequencyRecords(const std::string& text, RecordList& list) {
  static const ByteSet allowed(
      "+-1234567890abcdefghijklmnopqrstuvwxyz\t \xE7\xE9\xF0\xFD\xF1\xF6\xFE\xFC"
      "I\xC2\xC7\xD0\xDD\xCE\xD1\xD6\xDE\xDB\xDC\xC9\xE2\xEE\xFB"
      "ABCDEFGHJKLMNOPQRSTUVWXYZ");
  uint8_t token[ByteString::kMax];
  uint8_t word[ByteString::kMax];
  int n = 0;
  auto flush = [&] {
    if (n > 0) list.Append(word, Encode(token, n, word, kCodes20a));
    n = 0;
  };
  for (char ch : text) {
    uint8_t raw = static_cast<uint8_t>(ch);
    if (raw == '\r' || raw == '\n') {
      flush();
    } else if (allowed.has[raw]) {
      uint8_t c = kFold20a[raw];
      if (c == ' ') {
        flush();
      } else if (n < ByteString::kMax) {
        token[n++] = c;
      }
    }
  }
  flush();
}

// --- Report -------------------------------------------------------------------

void Row(const char* what, const std::string& value) {
  std::printf("  %-46s %s\n", what, value.c_str());
}

std::string Fmt(const char* format, double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, format, v);
  return buf;
}

struct SortFigures {
  double seconds = 0;
  double wall_seconds = 0;
  double list_mib = 0;
  double peak_above_start_mib = 0;
  int32_t records = 0;
  int64_t cells = 0;
  double average_len = 0;
};

// Builds the list afresh for each run (untimed) and times the sort alone.
// With `presort` the list is sorted once before the timed sort.
SortFigures MeasureSort(const std::function<void(RecordList&)>& build, bool presort) {
  SortFigures f;
  std::vector<double> times;
  std::vector<double> walls;
  for (int run = 0; run < kRuns; ++run) {
    double before = ProcStatusMiB("VmRSS:");
    bool reset = ResetPeakRss();
    auto list = std::make_unique<RecordList>();
    build(*list);
    if (presort) list->Sort(1, list->size(), nullptr);
    CountingProgress progress(list->size());
    Time t = Measure([&] { list->Sort(1, list->size(), &progress); });
    times.push_back(t.cpu);
    walls.push_back(t.wall);
    if (run == 0) {
      f.records = list->size();
      f.cells = progress.cells;
      f.list_mib = MiB(static_cast<double>(list->MemoryBytes()));
      f.peak_above_start_mib = reset ? ProcStatusMiB("VmHWM:") - before : -1;
      uint64_t bytes = 0;
      uint8_t rec[RecordList::kMaxRecord];
      for (int32_t i = 1; i <= list->size(); ++i) bytes += static_cast<uint64_t>(list->Get(i, rec));
      f.average_len = static_cast<double>(bytes) / std::max(1, list->size());
    }
  }
  f.seconds = Median(times);
  f.wall_seconds = Median(walls);
  return f;
}

void ReportSort(const char* title, const SortFigures& f) {
  std::printf("%s\n", title);
  Row("records", Fmt("%.0f", f.records) + Fmt(" (average %.1f bytes)", f.average_len));
  Row("sort, median of 5 (CPU; wall)", Fmt("%.3f s", f.seconds) + Fmt("; %.3f s", f.wall_seconds));
  Row("progress cells", Fmt("%.0f", static_cast<double>(f.cells)));
  Row("RecordList::MemoryBytes", Fmt("%.1f MiB", f.list_mib));
  Row("peak RSS of list + sort above the start",
      f.peak_above_start_mib < 0 ? std::string("n/a") : Fmt("%.1f MiB", f.peak_above_start_mib));
}

int Main(int argc, char** argv) {
  bench::CorpusOptions options;
  for (int k = 1; k + 1 < argc; k += 2) {
    if (std::strcmp(argv[k], "--words") == 0)
      options.words = std::strtoll(argv[k + 1], nullptr, 10);
    if (std::strcmp(argv[k], "--seed") == 0) options.seed = std::strtoull(argv[k + 1], nullptr, 10);
  }
  std::printf("words_bench: %lld words per corpus, seed %llu\n\n",
              static_cast<long long>(options.words), static_cast<unsigned long long>(options.seed));

  for (bench::Edition edition : {bench::Edition::kIndex23, bench::Edition::kFrequency20a}) {
    bool index = edition == bench::Edition::kIndex23;
    options.edition = edition;
    std::string text;
    double gen = Seconds([&] { text = bench::GenerateCorpus(options); });
    std::printf("%s edition corpus: %.1f MiB (generated in %.2f s)\n",
                index ? "Index (2.3)" : "Frequency (2.0a)", MiB(static_cast<double>(text.size())),
                gen);

    std::vector<double> times;
    uint64_t sum = 0;
    for (int run = 0; run < kRuns; ++run) {
      times.push_back(Seconds([&] {
        sum += index ? FoldAndEncode(text, kFold23, kCodes23)
                     : FoldAndEncode(text, kFold20a, kCodes20a);
      }));
    }
    Row("fold + encode, median of 5 (CPU)",
        Fmt("%.0f MB/s", static_cast<double>(text.size()) / 1e6 / Median(times)) +
            Fmt(" (checksum %.0f)", static_cast<double>(sum % 1000000)));

    auto build = [&](RecordList& list) {
      if (index) {
        BuildIndexRecords(text, list);
      } else {
        BuildFrequencyRecords(text, list);
      }
    };
    ReportSort(index ? "Index records (word, space, location), random order"
                     : "Frequency records (word), random order",
               MeasureSort(build, /*presort=*/false));
    if (index) ReportSort("Index records, already sorted", MeasureSort(build, /*presort=*/true));
    std::printf("\n");
  }

  ReportSort("5,000,000 equal records (\"kelime 0012\")", MeasureSort(
                                                              [](RecordList& list) {
                                                                while (list.Append("kelime 0012")) {
                                                                }
                                                              },
                                                              /*presort=*/false));
  std::printf("\nPeak RSS of the whole run (ru_maxrss): %.1f MiB\n", PeakRssMiB());
  return 0;
}

}  // namespace
}  // namespace kavinta

int main(int argc, char** argv) { return kavinta::Main(argc, argv); }
