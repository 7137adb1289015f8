// The record list at its full capacity of 5,000,000 records, in both
// programs: an input of 5,000,010 one-letter words fills it in the middle
// of a line, the rest is dropped, and the run still sorts, writes complete
// files and says on its final screen that only the first 5,000,000 words
// were taken. A few seconds; filter it out with --gtest_filter=-Scale.* (or
// ctest -E Scale).
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "tests/robust/robust_run.h"
#include "tests/test_util.h"

namespace kavinta {
namespace {

constexpr int64_t kWords = 5'000'010;
constexpr int64_t kCapacity = RecordList::kCapacity;
constexpr int kWordsPerLine = 997;  // the list fills in the middle of a line

/// The index edition's alphabet, one letter per entry (UTF-8).
const std::array<const char*, 36> kLetters = {
    "a", "b", "c", "ç", "d", "D", "e", "é", "f", "g", "ğ", "h", "ı", "i", "j", "k", "l", "m",
    "n", "ñ", "N", "o", "ö", "p", "q", "r", "s", "ş", "t", "u", "ü", "v", "w", "x", "y", "z"};

/// Word i of the input is letter i mod 36: how many of the first `taken`
/// letters are letter k.
int64_t Count(size_t k, int64_t taken) {
  const int64_t n = static_cast<int64_t>(kLetters.size());
  return taken / n + (static_cast<int64_t>(k) < taken % n ? 1 : 0);
}

/// Lines of a location and 997 words each.
std::string Input() {
  std::vector<std::string> letters;
  for (const char* l : kLetters) letters.push_back(W(l));
  std::string text;
  text.reserve(static_cast<size_t>(kWords) * 2 + 100'000);
  for (int64_t i = 0, line = 1; i < kWords; ++line) {
    text += std::to_string(line);
    for (int k = 0; k < kWordsPerLine && i < kWords; ++k, ++i) {
      text += ' ';
      text += letters[static_cast<size_t>(i % static_cast<int64_t>(letters.size()))];
    }
    text += "\r\n";
  }
  return text;
}

std::vector<std::string> LastLines(const std::string& text, size_t n) {
  std::vector<std::string> lines;
  size_t end = text.size();
  while (lines.size() < n && end >= 2) {
    size_t start = text.rfind("\r\n", end - 3);
    start = start == std::string::npos ? 0 : start + 2;
    lines.insert(lines.begin(), text.substr(start, end - 2 - start));
    end = start;
  }
  return lines;
}

TEST(Scale, AFullRecordListSortsWritesAndSaysSo) {
  ScopedTempDir dir;
  WriteFileBytes("x.txt", Input());
  // The capacity line fits on its row from column 25.
  const std::string capacity_line =
      std::string(24, ' ') + "Yalnızca ilk 5000000 kelime alındı; gerisi okunmadı.";
  RealFileSystem fs;

  {
    SCOPED_TRACE("kavinta23");
    ProgramRun run(kPrograms[0], fs, "x");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.state->N(), kCapacity);
    EXPECT_TRUE(run.state->capacity_reached);
    EXPECT_EQ(run.From25(17), "İşlem bitti.") << run.console.Dump();
    EXPECT_EQ(run.console.Text(18), capacity_line);
    EXPECT_EQ(run.console.Text(19), "");
    // Sorted: the head-count file lists the letters in the alphabet's order.
    std::string counts;
    for (size_t k = 0; k < kLetters.size(); ++k) {
      counts += W(kLetters[k]) + "\t" + std::to_string(Count(k, kCapacity)) + "\r\n";
    }
    EXPECT_EQ(ReadFileBytes("MBS.txt"), counts);
    EXPECT_EQ(LastLines(ReadFileBytes("xDizin.txt"), 5),
              (std::vector<std::string>{"Toplam kelime:\t5000000", W("Geçerli kelime:\t5000000"),
                                        W("Geçersiz kelime:\t0"), "Alt madde:\t36",
                                        W("Madde başı:\t36")}));
    EXPECT_FALSE(FileExists("xSorun.txt"));
  }
  {
    SCOPED_TRACE("kavinta20a");
    ProgramRun run(kPrograms[1], fs, "x");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.state->N(), kCapacity);
    EXPECT_EQ(run.From25(17), "İşlem bitti.") << run.console.Dump();
    EXPECT_EQ(run.console.Text(18), capacity_line);
    EXPECT_EQ(run.console.Text(19), "");
    // Here the line numbers are words too: 998 words a line, so the list
    // fills on line 5011 after its number and 19 letters. The numbers come
    // first (digits sort before letters, as byte strings), then the letters,
    // D counted with d and N with n, as this edition lowers them.
    const int lines_taken = 5011;
    const int64_t letters_taken = kCapacity - lines_taken;
    std::vector<std::string> numbers;
    for (int line = 1; line <= lines_taken; ++line) numbers.push_back(std::to_string(line));
    std::sort(numbers.begin(), numbers.end());
    std::string list;
    for (const std::string& number : numbers) list += number + "\t1\r\n";
    for (size_t k = 0; k < kLetters.size(); ++k) {
      const std::string letter = kLetters[k];
      if (letter == "D" || letter == "N") continue;
      int64_t count = Count(k, letters_taken);
      if (letter == "d" || letter == "n") count += Count(k + 1, letters_taken);
      list += W(letter) + "\t" + std::to_string(count) + "\r\n";
    }
    list += W("\r\nToplam kelime:\t5000000\r\nMadde başı:\t") +
            std::to_string(lines_taken + kLetters.size() - 2) + "\r\n";
    EXPECT_EQ(ReadFileBytes("xDizin.txt"), list);
  }
#ifndef __SANITIZE_ADDRESS__
  // The benchmark's bound on peak memory holds for the whole test.
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  EXPECT_LE(usage.ru_maxrss, 250 * 1024) << "peak RSS in KiB";
#endif
}

}  // namespace
}  // namespace kavinta
