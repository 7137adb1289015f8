// The frequency list writer, through whole kavinta20a runs: the lines and
// totals it writes for inputs that show the counting and the order, and when
// an earlier list of the same name is replaced or left alone.
#include "freq/writer.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

#include "console/interrupt.h"
#include "tests/fault_fs.h"
#include "tests/freq/freq_run.h"
#include "tests/test_util.h"

namespace kavinta {
namespace {

std::string Repeat(std::string_view s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

class FrequencyListTest : public ::testing::Test {
 protected:
  /// Runs kavinta20a on `input` (UTF-8, written as Windows-1254 metin.txt)
  /// and returns metinDizin.txt.
  std::string ListOf(const std::string& input_utf8) {
    WriteFileBytes("metin.txt", W(input_utf8));
    FreqRun run(fs);
    EXPECT_EQ(run.Run("metin"), 0);
    EXPECT_EQ(run.state.HATA, kGoOn) << run.console.Dump();
    EXPECT_EQ(run.console.Text(17), std::string(24, ' ') + "İşlem bitti.") << run.console.Dump();
    return ReadFileBytes("metinDizin.txt");
  }

  ScopedTempDir dir;
  RealFileSystem fs;
};

TEST_F(FrequencyListTest, CountsAndOrdersTheWords) {
  const struct {
    const char* name;
    std::string input;
    std::vector<std::string> lines;
    int total, distinct;
  } cases[] = {
      {"one word", "ev", {"ev\t1"}, 1, 1},
      {"one word many times", "ev EV\tev\r\nEv\n" + Repeat("ev ", 996), {"ev\t1000"}, 1000, 1},
      // A word before its extensions; a digit before "+", "+" before "-",
      // "-" before every letter.
      {"su order",
       "sua su-yu su+a su1 su",
       {"su\t1", "su1\t1", "su+a\t1", "su-yu\t1", "sua\t1"},
       5,
       5},
      // The Turkish letters after the words of their base letter.
      {"alphabet",
       "ilik ılık huy cz ca ç d oz ö p",
       {"ca\t1", "cz\t1", "ç\t1", "d\t1", "huy\t1", "ılık\t1", "ilik\t1", "oz\t1", "ö\t1", "p\t1"},
       10,
       10},
      // A code spelt in plain letters is the letter it codes.
      {"czzz is ç", "czzz ç", {"ç\t2"}, 2, 1},
      {"uzzzlke is ülke", "ülke uzzzlke", {"ülke\t2"}, 2, 1},
      // Cut at 120 bytes inside the code of the 30th ç: the code's first
      // three bytes stay as letters.
      {"40 ç", "a" + Repeat("ç", 40), {"a" + Repeat("ç", 29) + "czz\t1"}, 1, 1},
      // Two long words that agree in their first 120 bytes are one word.
      {"long words",
       Repeat("a", 130) + " " + Repeat("a", 121) + "b",
       {Repeat("a", 120) + "\t2"},
       2,
       1},
  };
  for (const auto& c : cases) {
    std::filesystem::remove("metinDizin.txt");
    EXPECT_EQ(ListOf(c.input), ListFile(c.lines, c.total, c.distinct)) << c.name;
  }
}

TEST_F(FrequencyListTest, ALargeListIsWrittenWhole) {
  // More lines than one block of the writer holds: every distinct word once.
  std::string input;
  std::vector<std::string> lines;
  for (int i = 10000; i < 30000; ++i) {
    std::string word = std::to_string(i);
    word.insert(0, 1, 'k');
    input += word + " " + word + "\n";
    lines.push_back(word + "\t2");
  }
  EXPECT_EQ(ListOf(input), ListFile(lines, 40000, 20000));
}

/// The names in the current folder.
std::vector<std::string> FolderNames() {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(".")) {
    names.push_back(e.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST_F(FrequencyListTest, AnEarlierListIsReplacedOnlyByACompleteRun) {
  const std::string earlier = "eski liste\r\n";
  const struct {
    const char* name;
    const char* input;      // metin.txt, or null for none
    long read_fails_after;  // bytes, or -1
    bool replaced;
    int16_t hata;
  } cases[] = {
      {"complete run", "ev ev", -1, true, kGoOn},
      {"input not found", nullptr, -1, false, kNotFound},
      {"no records", ".,; '\r\n \t\r\n", -1, false, kNoRecords},
      {"empty input", "", -1, false, kNoRecords},
      {"read error", "ev ev\r\nsu su\r\n", 9, false, kReadError},
  };
  for (const auto& c : cases) {
    std::filesystem::remove("metin.txt");
    if (c.input) WriteFileBytes("metin.txt", c.input);
    WriteFileBytes("metinDizin.txt", earlier);
    FaultFileSystem faults(fs);
    if (c.read_fails_after >= 0) faults.Fail("metin.txt", Fault::kRead, c.read_fails_after);
    FreqRun run(faults);
    EXPECT_EQ(run.Run("metin"), 0);
    EXPECT_EQ(run.state.HATA, c.hata) << c.name;
    EXPECT_EQ(ReadFileBytes("metinDizin.txt"), c.replaced ? ListFile({"ev\t2"}, 2, 1) : earlier)
        << c.name;
    EXPECT_EQ(run.console.Text(17).find("İşlem bitti.") != std::string::npos, c.replaced)
        << c.name << "\n"
        << run.console.Dump();
  }
}

TEST_F(FrequencyListTest, AFailedWriteLeavesTheEarlierListAndSaysSoInRed) {
  const std::string earlier = "eski liste\r\n";
  const struct {
    Fault fault;
    const char* why;
  } cases[] = {
      {Fault::kCreate, "yazma izni yok"},
      {Fault::kWrite, "diskte yer yok"},
      {Fault::kClose, "diskte yer yok"},
      {Fault::kRename, "yeniden adlandırılamadı"},
  };
  const std::string failed = "Çıkış dosyası yazılamadı: metinDizin.txt";
  for (const auto& c : cases) {
    WriteFileBytes("metin.txt", "ev ev\r\n");
    WriteFileBytes("metinDizin.txt", earlier);
    FaultFileSystem faults(fs);
    faults.Fail("metinDizin.txt", c.fault);
    FreqRun run(faults);
    EXPECT_EQ(run.Run("metin"), 0);
    const MemoryConsole& con = run.console;
    EXPECT_EQ(con.Text(17), std::string(24, ' ') + failed) << FaultName(c.fault) << "\n"
                                                           << con.Dump();
    EXPECT_EQ(con.Foregrounds(17).substr(24, 40), std::string(40, '4')) << FaultName(c.fault);
    EXPECT_EQ(con.Text(18), std::string(24, ' ') + "(" + c.why + ")") << FaultName(c.fault);
    EXPECT_EQ(con.Text(19), std::string(24, ' ') + "Önceki dosyalar olduğu gibi kaldı.");
    EXPECT_EQ(con.Text(21), std::string(24, ' ') + "Çıkmak için her hangi bir tuşa basınız.");
    EXPECT_EQ(ReadFileBytes("metinDizin.txt"), earlier) << FaultName(c.fault);
    EXPECT_EQ(FolderNames(), (std::vector<std::string>{"metin.txt", "metinDizin.txt"}))
        << FaultName(c.fault);
  }
}

TEST_F(FrequencyListTest, AFolderInTheListsPlaceIsLeftAlone) {
  WriteFileBytes("metin.txt", "ev ev\r\n");
  std::filesystem::create_directory("metinDizin.txt");
  WriteFileBytes("metinDizin.txt/ic", "x");
  FreqRun run(fs);
  EXPECT_EQ(run.Run("metin"), 0);
  EXPECT_EQ(run.console.Text(17), std::string(24, ' ') + "Çıkış dosyası yazılamadı: metinDizin.txt")
      << run.console.Dump();
  EXPECT_EQ(run.console.Text(18), std::string(24, ' ') + "(aynı adda bir klasör var)");
  EXPECT_EQ(ReadFileBytes("metinDizin.txt/ic"), "x");
  EXPECT_EQ(FolderNames(), (std::vector<std::string>{"metin.txt", "metinDizin.txt"}));
}

/// A console that raises SIGINT as soon as the write phase shows its label,
/// and reacts to it at the next screen change as the terminal does.
class InterruptInWritePhase : public MemoryConsole {
 protected:
  void Changed() override {
    if (!raised_ && Text(15).find("3/3") != std::string::npos) {
      raised_ = true;
      std::raise(SIGINT);
    }
    if (InterruptPending()) ExitForInterrupt();
  }

 private:
  bool raised_ = false;
};

TEST_F(FrequencyListTest, AnInterruptedWriteLeavesTheEarlierList) {
  // The child is forked and shares this folder.
  GTEST_FLAG_SET(death_test_style, "fast");
  WriteFileBytes("metin.txt", Repeat("ev su\r\n", 200));
  WriteFileBytes("metinDizin.txt", "eski liste\r\n");
  EXPECT_EXIT(
      {
        InstallInterruptHandlers();
        InterruptInWritePhase console;
        RunState state(console, fs, 1000);
        console.Type("metin\rx");
        RunProgram(kFrequencyEdition, state);
      },
      ::testing::ExitedWithCode(128 + SIGINT), "");
  EXPECT_EQ(ReadFileBytes("metinDizin.txt"), "eski liste\r\n");
  EXPECT_EQ(FolderNames(), (std::vector<std::string>{"metin.txt", "metinDizin.txt"}));
}

}  // namespace
}  // namespace kavinta
