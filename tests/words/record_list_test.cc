#include "words/record_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace kavinta {
namespace {

bool ByteLess(const std::string& a, const std::string& b) {
  int c = std::memcmp(a.data(), b.data(), std::min(a.size(), b.size()));
  return c != 0 ? c < 0 : a.size() < b.size();
}

class RecordingProgress : public SortProgress {
 public:
  void Cell(int32_t i) override { cells.push_back(i); }
  std::vector<int32_t> cells;
};

// The sort as written with nested calls, over plain strings (a[0] unused).
void ReferenceSort(std::vector<std::string>& a, int32_t left, int32_t right,
                   std::vector<int32_t>& cells) {
  int32_t i = left;
  int32_t j = right;
  const std::string x = a[static_cast<size_t>((left + right) / 2)];
  do {
    while (ByteLess(a[static_cast<size_t>(i)], x)) ++i;
    while (ByteLess(x, a[static_cast<size_t>(j)])) --j;
    if (i <= j) {
      std::swap(a[static_cast<size_t>(i)], a[static_cast<size_t>(j)]);
      ++i;
      --j;
    }
  } while (i <= j);
  if (left < j) ReferenceSort(a, left, j, cells);
  cells.push_back(i);
  if (i < right) ReferenceSort(a, i, right, cells);
}

RecordList ListOf(const std::vector<std::string>& records) {
  RecordList list(static_cast<int32_t>(records.size()));
  for (const std::string& r : records) EXPECT_TRUE(list.Append(r));
  return list;
}

std::vector<std::string> Contents(const RecordList& list) {
  std::vector<std::string> out;
  for (int32_t i = 1; i <= list.size(); ++i) out.push_back(list.ToString(i));
  return out;
}

std::string RandomRecord(std::mt19937& rng, const std::string& alphabet, int min_len, int max_len) {
  std::uniform_int_distribution<int> length(min_len, max_len);
  std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
  std::string s;
  for (int n = length(rng); n > 0; --n) s.push_back(alphabet[pick(rng)]);
  return s;
}

using Generator = std::function<std::vector<std::string>(std::mt19937&)>;

struct ListCase {
  const char* name;
  Generator make;
};

std::vector<std::string> Repeat(int n, const std::function<std::string()>& f) {
  std::vector<std::string> v;
  for (int k = 0; k < n; ++k) v.push_back(f());
  return v;
}

// Lists that stress the places where a handle comparison can go wrong: the
// 16-byte head boundary, zero padding against real 0x00 bytes, high bytes,
// proper prefixes, and the 120-byte cut.
const std::vector<ListCase>& ListCases() {
  static const std::vector<ListCase> cases = {
      {"many equal",
       [](std::mt19937& rng) {
         return Repeat(500, [&] { return RandomRecord(rng, "ab", 2, 2); });
       }},
      {"all equal long",
       [](std::mt19937&) { return std::vector<std::string>(300, std::string(40, 'q')); }},
      {"sorted",
       [](std::mt19937& rng) {
         auto v = Repeat(400, [&] { return RandomRecord(rng, "abcz", 1, 30); });
         std::sort(v.begin(), v.end(), ByteLess);
         return v;
       }},
      {"reverse",
       [](std::mt19937& rng) {
         auto v = Repeat(400, [&] { return RandomRecord(rng, "abcz", 1, 30); });
         std::sort(v.begin(), v.end(), [](auto& a, auto& b) { return ByteLess(b, a); });
         return v;
       }},
      {"prefixes around the head",
       [](std::mt19937& rng) {
         // Prefixes of one long record, with lengths on both sides of 16.
         const std::string base = "ev 0101234567890abcdefghij" + std::string(60, 'x');
         return Repeat(400, [&] {
           return base.substr(0, std::uniform_int_distribution<size_t>(0, 40)(rng));
         });
       }},
      {"zero bytes",
       [](std::mt19937& rng) {
         return Repeat(600, [&] { return RandomRecord(rng, std::string("\0\0a", 3), 0, 34); });
       }},
      {"high bytes",
       [](std::mt19937& rng) {
         return Repeat(600, [&] { return RandomRecord(rng, "\x7F\x80\xFF\xE7 a", 0, 40); });
       }},
      {"long records",
       [](std::mt19937& rng) {
         // Over a megabyte of bytes past the head, so the arena spans chunks.
         return Repeat(
             25'000, [&] { return std::string(16, 'k') + RandomRecord(rng, "\x01\xFE", 1, 104); });
       }},
      {"longer than 120, cut",
       [](std::mt19937& rng) {
         // Equal in the first 120 bytes only when the cut is made.
         return Repeat(300, [&] {
           return std::string(119, 'k') + RandomRecord(rng, "ab", 1, 1) +
                  RandomRecord(rng, "yz", 1, 9);
         });
       }},
      {"words and locations",
       [](std::mt19937& rng) {
         return Repeat(800, [&] {
           return RandomRecord(rng, "aeczzzzD@", 1, 22) + " " + RandomRecord(rng, "0123", 3, 4);
         });
       }},
  };
  return cases;
}

TEST(RecordListTest, SortGivesByteOrder) {
  std::mt19937 rng(7);
  for (const ListCase& c : ListCases()) {
    std::vector<std::string> records = c.make(rng);
    RecordList list = ListOf(records);
    list.Sort(1, list.size(), nullptr);
    for (std::string& r : records) r.resize(std::min<size_t>(r.size(), RecordList::kMaxRecord));
    std::sort(records.begin(), records.end(), ByteLess);
    EXPECT_EQ(Contents(list), records) << c.name;
  }
}

TEST(RecordListTest, ProgressCellsFollowTheNestedSort) {
  std::mt19937 rng(11);
  for (const ListCase& c : ListCases()) {
    std::vector<std::string> records = c.make(rng);
    RecordList list = ListOf(records);
    RecordingProgress progress;
    list.Sort(1, list.size(), &progress);

    std::vector<std::string> ref = records;
    for (std::string& r : ref) r.resize(std::min<size_t>(r.size(), RecordList::kMaxRecord));
    ref.insert(ref.begin(), "");
    std::vector<int32_t> ref_cells;
    ReferenceSort(ref, 1, static_cast<int32_t>(records.size()), ref_cells);
    EXPECT_EQ(progress.cells, ref_cells) << c.name;
  }
}

// Many short lists of many sizes, most records equal to others: the scans
// stop often and meet in every possible place.
TEST(RecordListTest, ProgressCellsFollowTheNestedSortAtEverySize) {
  std::mt19937 rng(5);
  for (int n = 1; n <= 700; n += 3) {
    const char* alphabet = n % 2 == 0 ? "ab" : "abcdefgh";
    std::vector<std::string> records =
        Repeat(n, [&] { return RandomRecord(rng, alphabet, 1, n % 5 == 0 ? 24 : 3); });
    RecordList list = ListOf(records);
    RecordingProgress progress;
    list.Sort(1, list.size(), &progress);

    std::vector<std::string> ref = records;
    ref.insert(ref.begin(), "");
    std::vector<int32_t> ref_cells;
    ReferenceSort(ref, 1, n, ref_cells);
    ASSERT_EQ(progress.cells, ref_cells) << "n = " << n;
    ref.erase(ref.begin());
    ASSERT_EQ(Contents(list), ref) << "n = " << n;
  }
}

TEST(RecordListTest, OneRecordDrawsOneCellPastIt) {
  RecordList list(5);
  list.Append("ev 012");
  RecordingProgress progress;
  list.Sort(1, 1, &progress);
  EXPECT_EQ(progress.cells, std::vector<int32_t>{2});
  EXPECT_EQ(list.ToString(1), "ev 012");
}

TEST(RecordListTest, SortTouchesOnlyItsRange) {
  const std::vector<std::string> records = {"j", "i", "h", "g", "f", "e", "d", "c", "b", "a"};
  RecordList list = ListOf(records);
  RecordingProgress progress;
  list.Sort(3, 7, &progress);
  EXPECT_EQ(Contents(list),
            (std::vector<std::string>{"j", "i", "d", "e", "f", "g", "h", "c", "b", "a"}));

  std::vector<std::string> ref = records;
  ref.insert(ref.begin(), "");
  std::vector<int32_t> ref_cells;
  ReferenceSort(ref, 3, 7, ref_cells);
  EXPECT_EQ(progress.cells, ref_cells);
}

TEST(RecordListTest, AppendCutsAt120AndStopsWhenFull) {
  RecordList list(3);
  const std::string long_record = std::string(100, 'a') + std::string(30, 'b');
  EXPECT_TRUE(list.Append(long_record));
  EXPECT_TRUE(list.Append(std::string_view("x\0y", 3)));
  EXPECT_TRUE(list.Append(""));
  EXPECT_TRUE(list.full());
  EXPECT_FALSE(list.Append("more"));
  EXPECT_EQ(list.size(), 3);

  EXPECT_EQ(list.ToString(1), long_record.substr(0, 120));
  EXPECT_EQ(list.ToString(2), std::string("x\0y", 3));
  EXPECT_EQ(list.ToString(3), "");

  uint8_t raw[RecordList::kMaxRecord];
  ASSERT_EQ(list.Get(1, raw), 120);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(raw), 120), long_record.substr(0, 120));
  ByteString b("junk");
  list.Get(2, b);
  EXPECT_EQ(b.str(), std::string("x\0y", 3));
}

TEST(RecordListTest, MemoryGrowsWithTheRecordsNotTheCapacity) {
  RecordList list;  // room for 5,000,000
  EXPECT_EQ(list.MemoryBytes(), 0u);
  for (int k = 0; k < 1000; ++k) list.Append("kelime 0012");
  EXPECT_LT(list.MemoryBytes(), size_t{100'000});
}

}  // namespace
}  // namespace kavinta
