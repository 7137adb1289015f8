// The record list's sort on arbitrary records: many that share long
// beginnings, many equal, bytes above 0x7F, lengths up to and past 120. The
// sort is held against the partition steps as the rule gives them, done one
// by one on std::string (recursive, middle pivot copied first, both scans
// strict, exchanging also when I = J):
//   - the sorted records are the same, byte for byte;
//   - the progress cells come at the same positions in the same order (one
//     per partition step, after its left part, before its right part), so
//     they never go back;
//   - a part of the list sorted on its own (lo..hi) leaves the rest alone.
//
// The input is read as a list of records: a byte k, a byte n, then n bytes;
// the record is the first k bytes of the one before, then those n bytes, each
// mapped onto a small alphabet so that equal records and shared beginnings
// are common.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "words/record_list.h"

namespace kavinta {
namespace {

constexpr size_t kMaxRecords = 3000;

class Cells : public SortProgress {
 public:
  void Cell(int32_t i) override { cells.push_back(i); }
  std::vector<int32_t> cells;
};

/// SORT(left, right) on positions 1..n of `a`, as the rule gives it.
void RuleSort(std::vector<std::string>& a, int32_t left, int32_t right,
              std::vector<int32_t>& cells) {
  auto at = [&a](int32_t k) -> std::string& { return a[static_cast<size_t>(k - 1)]; };
  int32_t i = left;
  int32_t j = right;
  const std::string x = at((left + right) / 2);
  do {
    while (at(i) < x) ++i;
    while (x < at(j)) --j;
    if (i <= j) {
      std::swap(at(i), at(j));
      ++i;
      --j;
    }
  } while (i <= j);
  if (left < j) RuleSort(a, left, j, cells);
  cells.push_back(i);
  if (i < right) RuleSort(a, i, right, cells);
}

}  // namespace
}  // namespace kavinta

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kavinta;
  static const char kAlphabet[] = {'a', 'z', ' ', '0', '\0', '\x7F', '\x80', '\xFF'};
  std::vector<std::string> records;
  std::string previous;
  size_t at = 0;
  while (at + 2 <= size && records.size() < kMaxRecords) {
    const size_t keep = std::min<size_t>(data[at], previous.size());
    const size_t n = std::min<size_t>(data[at + 1], size - at - 2);
    std::string rec = previous.substr(0, keep);
    for (size_t k = 0; k < n; ++k) rec.push_back(kAlphabet[data[at + 2 + k] & 7]);
    at += 2 + n;
    records.push_back(rec);
    previous = rec;
  }
  if (records.empty()) return 0;

  RecordList list(static_cast<int32_t>(records.size()));
  for (std::string& rec : records) {
    FUZZ_CHECK(list.Append(rec));
    if (rec.size() > 120) rec.resize(120);  // a record holds its first 120 bytes
  }
  FUZZ_CHECK(!list.Append("x"));  // full
  const int32_t n = list.size();

  // A part of the list on its own first, when the input asks for it: the
  // records outside it stay where they are.
  std::vector<std::string> want = records;
  if (size % 3 == 0 && n >= 3) {
    const int32_t lo = 1 + static_cast<int32_t>(data[0] % (n / 2));
    const int32_t hi = n - static_cast<int32_t>(data[size - 1] % (n / 2));
    std::vector<int32_t> want_cells;
    RuleSort(want, lo, hi, want_cells);
    Cells got;
    list.Sort(lo, hi, &got);
    FUZZ_CHECK(got.cells == want_cells);
    for (int32_t i = 1; i <= n; ++i)
      FUZZ_CHECK(list.ToString(i) == want[static_cast<size_t>(i - 1)]);
  }

  std::vector<int32_t> want_cells;
  RuleSort(want, 1, n, want_cells);
  Cells got;
  list.Sort(1, n, &got);
  FUZZ_CHECK(got.cells == want_cells);
  FUZZ_CHECK(std::is_sorted(got.cells.begin(), got.cells.end()));
  for (int32_t i = 1; i <= n; ++i) FUZZ_CHECK(list.ToString(i) == want[static_cast<size_t>(i - 1)]);
  FUZZ_CHECK(std::is_sorted(want.begin(), want.end()));
  return 0;
}
