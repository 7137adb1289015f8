// Golden screens of the run sequence, driven through the in-memory console.
#include "console/run.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "console/memory_console.h"
#include "tests/test_util.h"

namespace kavinta {
namespace {

// An edition whose reader takes nothing: every found input ends at the
// no-records screen.
bool ReadNothing(RunState&, InputFile*) { return true; }
void WriteNothing(RunState&) {}
const Edition kBare23 = {"Kavinta 2.3", "Deneme", true, ReadNothing, WriteNothing};
const Edition kBare20a = {"Kavinta 2.0a", "Deneme", false, ReadNothing, WriteNothing};

std::string Spaces(int n) { return std::string(n, ' '); }

/// The colour string of a row where columns [from, to] have colour c and
/// every other cell has `rest`.
std::string Span(char rest, int from, int to, char c) {
  std::string s(80, rest);
  for (int i = from; i <= to; ++i) s[i - 1] = c;
  return s;
}

class RunTest : public ::testing::Test {
 protected:
  MemoryConsole console;
  RealFileSystem fs;
  ScopedTempDir dir;
  std::unique_ptr<RunState> state = std::make_unique<RunState>(console, fs, 100);
};

TEST_F(RunTest, BannerIsYellowOnCyanAndWaitsSixSeconds) {
  GIRIS(kBare23, *state);
  EXPECT_EQ(console.Text(8), Spaces(24) + "Kavinta 2.3");
  EXPECT_EQ(console.Text(10), Spaces(26) + "Deneme");
  EXPECT_EQ(console.delays(), std::vector<int>{6000});
  EXPECT_FALSE(console.screen().cursor_visible());
  for (int row = 1; row <= 25; ++row) {
    EXPECT_EQ(console.Backgrounds(row), std::string(80, '3')) << row;
    EXPECT_EQ(console.Foregrounds(row), std::string(80, 'e')) << row;
  }
}

TEST_F(RunTest, NotFoundScreenWithItsSuggestionsInRed) {
  console.TypeText("yok\r");
  console.Type("x");  // the key that ends the closing wait
  EXPECT_EQ(RunProgram(kBare23, *state), 0);
  EXPECT_EQ(state->HATA, kNotFound);
  const std::vector<std::pair<int, std::string>> rows = {
      {8, Spaces(19) + "İşleme başlanamıyor."},
      {10, Spaces(19) + "\"yok\" adlı dosya bulunamadı."},
      {12, Spaces(19) + "Öneri:"},
      {13, Spaces(19) + "1. Dosya adında Türkçeye özgü harfleri kullanmayınız."},
      {14, Spaces(19) + "2. Dosyayı düz metin olarak kaydediniz."},
      {15, Spaces(19) + "3. Dosyayı programın bulunduğu klasöre taşıyınız."},
      {16, Spaces(19) + "4. Dosya adını doğru yazınız."},
      {21, Spaces(24) + "Çıkmak için her hangi bir tuşa basınız."},
  };
  for (int r = 1; r <= 25; ++r) {
    std::string want;
    for (auto& [row, text] : rows) {
      if (row == r) want = text;
    }
    EXPECT_EQ(console.Text(r), want) << "row " << r << "\n" << console.Dump();
    EXPECT_EQ(console.Foregrounds(r), std::string(80, '4')) << r;
    EXPECT_EQ(console.Backgrounds(r), std::string(80, '3')) << r;
  }
  EXPECT_FALSE(console.screen().cursor_visible());
  // The key that ended the wait is still pending: it was never read.
  EXPECT_EQ(console.keys_left(), 1u);
}

TEST_F(RunTest, NotFoundNamesTheFileAsTyped) {
  // An empty name looks for ".txt"; a name typed with ".txt" gets it twice.
  WriteFileBytes("a.txt", "001 ev\r\n");
  for (std::string typed : {std::string(""), std::string("a.txt")}) {
    MemoryConsole c;
    RunState s(c, fs, 100);
    c.Type(typed + "\r");
    RunProgram(kBare23, s);
    EXPECT_EQ(s.HATA, kNotFound) << typed;
    EXPECT_EQ(c.Text(10), Spaces(19) + "\"" + typed + "\" adlı dosya bulunamadı.");
  }
}

TEST_F(RunTest, PromptEchoesTheNameFromColumnForty) {
  // Keys typed during the banner are the name's first characters; the input
  // ending takes the line as if Enter had been pressed.
  console.TypeText("ağaç");
  GIRIS(kBare23, *state);
  AYRISTIRMA(kBare23, *state);
  EXPECT_EQ(state->DOSAD, Cp("ağaç"));
  EXPECT_EQ(state->HATA, kNotFound);
  EXPECT_EQ(console.Text(10), Spaces(19) + "\"ağaç\" adlı dosya bulunamadı.");
  MemoryConsole c;
  RunState s(c, fs, 100);
  c.TypeText("ad\x1b");  // Esc clears what was typed
  c.TypeText("ağaç\r");
  c.Type("");
  s.DOSAD.clear();
  c.ClearScreen();
  c.MoveCursor(25, 11);
  c.Write(Cp("Giriş dosyası: "));
  EXPECT_EQ(c.ReadLine(), Cp("ağaç"));
  EXPECT_EQ(c.Text(11), Spaces(24) + "Giriş dosyası: ağaç");
  EXPECT_EQ(c.screen().cursor_row(), 12);
}

TEST_F(RunTest, CountQuestionTakesOnlyEOrHAndUpIsH) {
  WriteFileBytes("metin.txt", "001 ev\r\n");
  struct Case {
    std::vector<int> keys;
    int sayim;
  } cases[] = {
      {{'x', '1', ' ', 'e'}, 1}, {{'E'}, 1},
      {{'q', 'h'}, 0},           {{0, kScanUp}, 0},  // Up arrives as 0, 72: the second read is "H"
      {{0, kScanDown, 'E'}, 1},
  };
  for (const Case& c : cases) {
    MemoryConsole con;
    RunState s(con, fs, 100);
    con.Type("metin\r");
    std::string keys;
    for (int k : c.keys) keys.push_back(static_cast<char>(k));
    con.Type(keys);
    s.SAYIM = 7;
    AYRISTIRMA(kBare23, s);
    EXPECT_FALSE(s.aborted);
    EXPECT_EQ(s.SAYIM, c.sayim);
  }
}

TEST_F(RunTest, CountQuestionScreenShowsNothingForIgnoredKeys) {
  WriteFileBytes("metin.txt", "001 ev\r\n");
  console.Type("metin\rxyz");
  AYRISTIRMA(kBare23, *state);  // the keys run out during the question
  EXPECT_TRUE(state->aborted);
  EXPECT_EQ(console.Text(11),
            Spaces(9) + "Her madde başından sonra kaç defa geçtiği yazılsın mı? (E/H)");
  for (int r = 1; r <= 25; ++r) {
    if (r != 11) {
      EXPECT_EQ(console.Text(r), "") << r;
    }
  }
}

TEST_F(RunTest, FoundInputWithoutRecordsEndsAtNoRecordsScreenInRed) {
  WriteFileBytes("metin.txt", "");
  console.Type("metin\rEz");
  EXPECT_EQ(RunProgram(kBare23, *state), 0);
  EXPECT_EQ(state->HATA, kNoRecords);
  for (int r = 1; r <= 25; ++r) {
    std::string want;
    if (r == 12) want = Spaces(24) + "İşleme devam edilemiyor.";
    if (r == 14) want = Spaces(24) + "\"metin\" adlı dosyada,";
    if (r == 15) want = Spaces(24) + "dizin için uygun kayıt bulunamadı.";
    if (r == 21) want = Spaces(24) + "Çıkmak için her hangi bir tuşa basınız.";
    EXPECT_EQ(console.Text(r), want) << r << "\n" << console.Dump();
    EXPECT_EQ(console.Foregrounds(r), std::string(80, '4')) << r;
  }
}

TEST_F(RunTest, AnInputThatCannotBeOpenedCountsAsEmpty) {
  std::filesystem::create_directory("klasor.txt");
  console.Type("klasor\rh");
  RunProgram(kBare23, *state);
  EXPECT_EQ(state->HATA, kNoRecords);
  EXPECT_EQ(console.Text(14), Spaces(24) + "\"klasor\" adlı dosyada,");
}

/// The working screen of the index edition, read up to the end of reading.
class WorkingScreenTest : public RunTest {
 protected:
  static bool ReadOne(RunState& s, InputFile*) {
    s.B.Append("ev 1");
    s.B.Append("at 2");
    return true;
  }
};

TEST_F(WorkingScreenTest, PhaseLabelsTrackAndFinalScreen) {
  const Edition one = {"Kavinta 2.3", "Deneme", true, ReadOne, WriteNothing};
  WriteFileBytes("metin.txt", "x");
  console.Type("metin\re");
  GIRIS(one, *state);
  AYRISTIRMA(one, *state);
  ASSERT_EQ(state->HATA, kGoOn);
  EXPECT_EQ(console.Text(9), Spaces(24) + "Kavinta 2.3");
  EXPECT_EQ(console.Text(11), Spaces(24) + "Giriş dosyası: metin");
  EXPECT_EQ(console.Text(12), Spaces(24) + "Çıkış dosyası: metinDizin");
  EXPECT_EQ(console.Text(15), Spaces(24) + "1/3: Okunuyor...");
  std::string track;
  for (int i = 0; i < 49; ++i) track += "▀";
  EXPECT_EQ(console.Text(17), Spaces(15) + track);
  // After reading the track is full (blue); the label stays yellow.
  EXPECT_EQ(console.Foregrounds(17), Span('e', 16, 64, '1'));
  EXPECT_EQ(console.Foregrounds(15), std::string(80, 'e'));

  SIRALAMA(*state, 1, state->N());
  EXPECT_EQ(console.Text(15), Spaces(24) + "2/3: Sıralanıyor...");
  EXPECT_EQ(state->B.ToString(1), "at 2");
  BeginWritePhase(*state);
  // The write label's three trailing blanks cover the sort label's last dots.
  EXPECT_EQ(console.screen().RowBytes(15).substr(24, 20), Cp("3/3: Yazılıyor...   "));
  EXPECT_EQ(console.Text(15), Spaces(24) + "3/3: Yazılıyor...");
  // The fresh track of a phase is yellow.
  EXPECT_EQ(console.Foregrounds(17), std::string(80, 'e'));
  state->progress.DrawTrack();
  FinishWritePhase(*state);
  console.MoveCursor(25, 21);
  console.Write(Cp("Çıkmak için her hangi bir tuşa basınız."));
  for (int r = 1; r <= 25; ++r) {
    std::string want;
    if (r == 9) want = Spaces(24) + "Kavinta 2.3";
    if (r == 11) want = Spaces(24) + "Giriş dosyası: metin";
    if (r == 12) want = Spaces(24) + "Çıkış dosyası: metinDizin";
    if (r == 17) want = Spaces(24) + "İşlem bitti.";
    if (r == 21) want = Spaces(24) + "Çıkmak için her hangi bir tuşa basınız.";
    EXPECT_EQ(console.Text(r), want) << r << "\n" << console.Dump();
  }
  EXPECT_EQ(console.Foregrounds(17), Span('e', 25, 36, '1'));
  EXPECT_EQ(console.Foregrounds(21), Span('e', 25, 63, '1'));
  EXPECT_EQ(console.Foregrounds(12), std::string(80, 'e'));
}

TEST_F(RunTest, FrequencyEditionKeepsThePromptRow) {
  const Edition one = {"Kavinta 2.0a", "Deneme", false,
                       [](RunState& s, InputFile*) { return s.B.Append("ev"); }, WriteNothing};
  WriteFileBytes("metin.txt", "ev");
  console.Type("metin\r");
  AYRISTIRMA(one, *state);
  EXPECT_EQ(console.Text(9), Spaces(24) + "Kavinta 2.0a");
  EXPECT_EQ(console.Text(11), Spaces(24) + "Giriş dosyası: metin");
  EXPECT_EQ(console.Text(12), Spaces(24) + "Çıkış dosyası: metinDizin");
  EXPECT_EQ(console.Text(15), Spaces(24) + "1/3: Okunuyor...");
  (void)kBare20a;
}

TEST_F(RunTest, ReadErrorIsNotPresentedAsSuccess) {
  const Edition broken = {"Kavinta 2.3", "Deneme", true,
                          [](RunState& s, InputFile*) {
                            s.B.Append("ev 1");
                            return false;
                          },
                          [](RunState& s) { s.notes.push_back("written"); }};
  WriteFileBytes("metin.txt", "001 ev");
  console.Type("metin\rEx");
  RunProgram(broken, *state);
  EXPECT_EQ(state->HATA, kReadError);
  EXPECT_TRUE(state->notes.empty()) << "the writer must not run";
  EXPECT_EQ(console.Text(12), Spaces(24) + "İşleme devam edilemiyor.");
  EXPECT_EQ(console.Text(14), Spaces(24) + "\"metin.txt\" adlı dosya okunamadı.");
  EXPECT_EQ(console.Foregrounds(21), std::string(80, '4'));
}

}  // namespace
}  // namespace kavinta
