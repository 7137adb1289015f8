// Whole runs of kavinta20a on the in-memory console: the worked example from
// the typed name to the closing prompt, file and final screen.
#include "freq/kavinta20a.h"

#include <gtest/gtest.h>

#include "tests/freq/freq_run.h"
#include "tests/test_util.h"

namespace kavinta {
namespace {

/// The number of screen cells of a UTF-8 text: one per character.
size_t Cells(std::string_view utf8) {
  size_t n = 0;
  for (char ch : utf8) n += (static_cast<unsigned char>(ch) & 0xC0) != 0x80;
  return n;
}

TEST(Kavinta20aTest, WorkedExampleGivesTheListAndTheFinalScreen) {
  const std::string want = Fixture("ornekDizin.txt");
  ASSERT_EQ(want.size(), 92u);
  ScopedTempDir dir;
  WriteFileBytes("ornek.txt", Fixture("ornek.txt"));
  RealFileSystem fs;
  FreqRun run(fs);
  EXPECT_EQ(run.Run("ornek"), 0);
  EXPECT_EQ(run.state.HATA, kGoOn);
  EXPECT_EQ(run.state.N(), 9);
  EXPECT_EQ(ReadFileBytes("ornekDizin.txt"), want);

  // Yellow: the title, the prompt row as the prompt left it (this edition
  // writes no input line of its own) and the output line; blue: the end of
  // the run and the closing prompt. Every other cell is blank, on cyan.
  const MemoryConsole& c = run.console;
  const struct {
    int row;
    std::string_view text;  // from column 25
    char fg;
  } rows[] = {
      {9, "Kavinta 2.0a", 'e'},
      {11, "Giriş dosyası: ornek", 'e'},
      {12, "Çıkış dosyası: ornekDizin", 'e'},
      {17, "İşlem bitti.", '1'},
      {21, "Çıkmak için her hangi bir tuşa basınız.", '1'},
  };
  for (int r = 1; r <= 25; ++r) {
    std::string text;
    for (const auto& want_row : rows) {
      if (want_row.row != r) continue;
      text = std::string(24, ' ') + std::string(want_row.text);
      EXPECT_EQ(c.Foregrounds(r).substr(24, Cells(want_row.text)),
                std::string(Cells(want_row.text), want_row.fg))
          << "row " << r;
    }
    EXPECT_EQ(c.Text(r), text) << "row " << r << "\n" << c.Dump();
    EXPECT_EQ(c.Backgrounds(r), std::string(80, '3')) << "row " << r;
  }
  EXPECT_FALSE(c.screen().cursor_visible());
  // The key that ended the closing wait was never read.
  EXPECT_EQ(c.keys_left(), 1u);
}

TEST(Kavinta20aTest, WordsBeyondTheCapacityAreNotDroppedSilently) {
  ScopedTempDir dir;
  WriteFileBytes("metin.txt", "a b c d\r\ne\r\n");
  RealFileSystem fs;
  FreqRun run(fs, /*capacity=*/3);
  EXPECT_EQ(run.Run("metin"), 0);
  EXPECT_EQ(ReadFileBytes("metinDizin.txt"), ListFile({"a\t1", "b\t1", "c\t1"}, 3, 3));
  EXPECT_EQ(run.console.Text(17), std::string(24, ' ') + "İşlem bitti.") << run.console.Dump();
  EXPECT_EQ(run.console.Text(18),
            std::string(24, ' ') + "Yalnızca ilk 3 kelime alındı; gerisi okunmadı.");
}

TEST(Kavinta20aTest, TheCapacityLineOnlyWhenAWordWasDropped) {
  // The list fills exactly at the end of a line; what follows decides.
  struct Case {
    const char* input;
    bool note;
  } cases[] = {
      {"a b\r\nc\r\n", false},               // nothing follows
      {"a b\r\nc\r\n\r\n , ; \r\n", false},  // only blank and wordless lines follow
      {"a b\r\nc\r\n\x1A"
       "d\r\n",
       false},                           // the input ends before the word
      {"a b\r\nc\r\n\r\n,\r\nd", true},  // a word in a later line
  };
  for (const Case& c : cases) {
    ScopedTempDir dir;
    WriteFileBytes("metin.txt", c.input);
    RealFileSystem fs;
    FreqRun run(fs, /*capacity=*/3);
    run.Run("metin");
    EXPECT_EQ(ReadFileBytes("metinDizin.txt"), ListFile({"a\t1", "b\t1", "c\t1"}, 3, 3)) << c.input;
    EXPECT_EQ(run.console.Text(18),
              c.note ? std::string(24, ' ') + "Yalnızca ilk 3 kelime alındı; gerisi okunmadı." : "")
        << c.input;
  }
}

}  // namespace
}  // namespace kavinta
