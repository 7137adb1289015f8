// Whole runs of kavinta20a on arbitrary input bytes, on the in-memory console
// and file system: the word reader, the sort and the frequency list writer.
// Beyond "no crash", every run must keep these properties:
//   - the reading matches a plain rendering of the reading rules: the same
//     records and the same MEVCUT;
//   - records are never empty, at most 120 bytes, hold only sort-key bytes of
//     this edition, and stand in ascending byte order;
//   - the list's counts add up to "Toplam kelime:", which is the number of
//     records, and its word lines are "Madde başı:";
//   - its words are distinct, in strictly ascending order of their sort keys,
//     and each is listed with the number of records that decode to it;
//   - the final screen says "İşlem bitti.", and has the capacity line exactly
//     when a word of the input was not taken; the run returns 0.
// The record list holds 1000 records, so the capacity path is taken too.
#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "console/memory_console.h"
#include "console/run.h"
#include "freq/kavinta20a.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/memory_fs.h"
#include "fuzz/reference.h"
#include "words/sort_key.h"

namespace kavinta {
namespace {

constexpr int32_t kCapacity = 1000;
constexpr std::string_view kTotalWords = "Toplam kelime:";
constexpr std::string_view kHeads = "Madde ba\xFE\xFD:";

/// A byte a record of this edition may hold: its codes are "@", "y", "z"
/// and small letters, and the words hold "+", "-", digits and small letters
/// besides the letters the codes stand for.
bool SortKeyByte(char c) { return c == '@' || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z'); }

std::string Key(const std::string& word) {
  ByteString b(word);
  AYAR1(b, kCodes20a);
  return b.str();
}

void CheckRun(std::string_view input) {
  MemoryFileSystem fs;
  fs.files["x.txt"] = std::string(input);
  fs.read_chunk = 1 + input.size() % 61;
  MemoryConsole con;
  con.Type("x\rq");
  auto state = std::make_unique<RunState>(con, fs, kCapacity);
  const RunState& s = *state;
  FUZZ_CHECK(RunProgram(kFrequencyEdition, *state) == 0);
  FUZZ_CHECK(!s.aborted && s.failure.empty());
  FUZZ_CHECK(s.MEVCUT >= 0 && s.MEVCUT <= static_cast<int64_t>(input.size()) + 1);

  const int32_t n = s.N();
  FUZZ_CHECK(n >= 0 && n <= kCapacity);
  FUZZ_CHECK(!s.capacity_reached || n == kCapacity);
  reference::Reading ref = reference::ReadFrequency(input, kCapacity);
  std::sort(ref.records.begin(), ref.records.end());
  FUZZ_CHECK(static_cast<int32_t>(ref.records.size()) == n);
  FUZZ_CHECK(s.MEVCUT == ref.mevcut);
  FUZZ_CHECK(s.capacity_reached == ref.dropped);
  std::map<std::string, int64_t> expected;  // by sort key: the word and its count
  std::map<std::string, std::string> word_of;
  std::string previous;
  for (int32_t i = 1; i <= n; ++i) {
    std::string rec = s.B.ToString(i);
    FUZZ_CHECK(!rec.empty() && rec.size() <= 120);
    for (char c : rec) FUZZ_CHECK(SortKeyByte(c));
    FUZZ_CHECK(i == 1 || previous <= rec);
    FUZZ_CHECK(rec == ref.records[static_cast<size_t>(i - 1)]);
    previous = rec;
    ByteString word(rec);
    AYAR2(word, kCodes20a);
    // Decoding and encoding again gives the record back: the list's order is
    // the order of its words' keys.
    FUZZ_CHECK(Key(word.str()) == rec);
    ++expected[rec];
    word_of[rec] = word.str();
  }

  if (n == 0) {
    FUZZ_CHECK(s.HATA == kNoRecords);
    FUZZ_CHECK(fs.files.size() == 1);
    FUZZ_CHECK(con.Text(12) == std::string(24, ' ') + "İşleme devam edilemiyor.");
    return;
  }
  FUZZ_CHECK(s.HATA == kGoOn);
  FUZZ_CHECK(con.Text(17) == std::string(24, ' ') + "İşlem bitti.");
  FUZZ_CHECK(con.Text(21) == std::string(24, ' ') + "Çıkmak için her hangi bir tuşa basınız.");
  FUZZ_CHECK(s.capacity_reached == (con.Text(18).find("1000 kelime") != std::string::npos));

  auto found = fs.files.find("xDizin.txt");
  FUZZ_CHECK(found != fs.files.end() && fs.files.size() == 2);
  std::vector<std::string> lines = CrLfLines(found->second);
  FUZZ_CHECK(lines.size() >= 4);
  const size_t words = lines.size() - 3;
  FUZZ_CHECK(lines[words].empty());
  FUZZ_CHECK(Total(lines[words + 1], kTotalWords) == n);
  FUZZ_CHECK(Total(lines[words + 2], kHeads) == static_cast<int64_t>(words));
  FUZZ_CHECK(words == expected.size());

  int64_t sum = 0;
  auto next = expected.begin();
  for (size_t i = 0; i < words; ++i, ++next) {
    const std::string& l = lines[i];
    size_t tab = l.find('\t');
    FUZZ_CHECK(tab != std::string::npos && tab > 0 && tab == l.rfind('\t'));
    const std::string word = l.substr(0, tab);
    const int64_t count = NumberAfterTab(l);
    FUZZ_CHECK(count >= 1);
    sum += count;
    // The lines follow the keys in ascending order, one line per key.
    FUZZ_CHECK(Key(word) == next->first);
    FUZZ_CHECK(word == word_of[next->first]);
    FUZZ_CHECK(count == next->second);
  }
  FUZZ_CHECK(sum == n);
}

}  // namespace
}  // namespace kavinta

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kavinta::CheckRun(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
