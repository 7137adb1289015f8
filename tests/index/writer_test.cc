// The index writer: the layout of the three files for the records that change
// it, fed straight into the record list.
#include "index/writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "console/memory_console.h"
#include "tests/test_util.h"

namespace kavinta {
namespace {

using Strings = std::vector<std::string>;

std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

/// The lines (UTF-8) as a Windows-1254 file, each ending in CR LF.
std::string File(const Strings& lines) {
  std::string out;
  for (const std::string& line : lines) out += W(line) + "\r\n";
  return out;
}

const Strings kHeader = {
    "Dizin", "", "Sıra: a b c ç d D e é f g ğ h ı i j k l m n ñ N o ö p q r s ş t u ü v w x y z",
    ""};

struct Totals {
  int words, invalid, sub_entries, heads;
};

std::string IndexFile(const Strings& body, Totals t) {
  Strings lines = kHeader;
  lines.insert(lines.end(), body.begin(), body.end());
  for (const std::string& total : {
           "Toplam kelime:\t" + std::to_string(t.words),
           "Geçerli kelime:\t" + std::to_string(t.words - t.invalid),
           "Geçersiz kelime:\t" + std::to_string(t.invalid),
           "Alt madde:\t" + std::to_string(t.sub_entries),
           "Madde başı:\t" + std::to_string(t.heads),
       }) {
    lines.push_back(total);
  }
  return File(lines);
}

class WriterTest : public ::testing::Test {
 protected:
  /// Stores the records (UTF-8, as the reader would have stored them, in
  /// sorted order) and runs the writer for the base name "t".
  RunState& Write(const Strings& records, int sayim) {
    console_ = std::make_unique<MemoryConsole>();
    state_ = std::make_unique<RunState>(*console_, fs_, 1000);
    state_->DOSAD = "t";
    state_->SAYIM = static_cast<uint8_t>(sayim);
    for (const std::string& r : records) state_->B.Append(W(r));
    for (int32_t i = 2; i <= state_->N(); ++i) {
      EXPECT_LE(state_->B.ToString(i - 1), state_->B.ToString(i)) << "records out of order";
    }
    WriteIndex(*state_);
    return *state_;
  }

  ScopedTempDir dir_;
  RealFileSystem fs_;
  std::unique_ptr<MemoryConsole> console_;
  std::unique_ptr<RunState> state_;
};

TEST_F(WriterTest, LayoutOfTheThreeFiles) {
  const std::string a119(119, 'a');
  struct Case {
    const char* what;
    int sayim;
    Strings records;  // as stored: encoded words and locations
    Strings body;     // the index between its header and its totals
    Totals totals;
    Strings problems;  // empty: no problem file
    Strings counts;
  } cases[] = {
      {"every record invalid, with counts",
       1,
       {".de 010", "@zzzzde 1", "gel.di@zzzzyor 011"},
       {"", "\t[=0]", "", ""},
       {3, 3, 0, 0},
       {".de 010", "-de 1", "gel.di-yor 011", "", "Geçersiz kelime:\t3"},
       {"\t0"}},
      {"every record invalid, without counts",
       0,
       {".de 010", "gel.di@zzzzyor 011"},
       {"", ""},
       {2, 2, 0, 0},
       {".de 010", "gel.di-yor 011", "", "Geçersiz kelime:\t2"},
       {"\t0"}},
      {"no invalid record",
       1,
       {"ev 1"},
       {"ev", "\te. 1", "\t[=1]", "", ""},
       {1, 0, 1, 1},
       {},
       {"ev\t1"}},
      {"bare word before its . forms",
       0,
       {"gel 001", "gel 002", "gel.di 001"},
       {"", "gel", "\tg. 1, 2", "\tg.+di 1", ""},
       {3, 0, 2, 1},
       {},
       {"gel\t3"}},
      {"head ending in -",
       1,
       {"gel@zzzz 012", "gel@zzzzecek 010"},
       {"gel-", "\tg. 12", "\tg.-ecek 10", "\t[=2]", "", ""},
       {2, 0, 2, 1},
       {},
       {"gel-\t2"}},
      {"several marks in one word",
       0,
       {"gel.di.ler 001", "gel@zzzzdi@zzzzler 002"},
       {"", "gel", "\tg.+di.ler 1", "gel-", "\tg.-di-ler 2", ""},
       {2, 0, 2, 2},
       {},
       {"gel\t1", "gel-\t1"}},
      {"( continues a head",
       1,
       {"gel 001", "gel(i) 002", "gel.di 003"},
       {"gel", "\tg. 1", "\t[=1]", "gel(i)", "\tg. 2", "\t[=1]", "gel", "\tg.+di 3", "\t[=1]", "",
        ""},
       {3, 0, 3, 3},
       {},
       {"gel\t1", "gel(i)\t1", "gel\t1"}},
      {"same word twice at one location",
       0,
       {"ev 1", "ev 1"},
       {"", "ev", "\te. 1, 1", ""},
       {2, 0, 1, 1},
       {},
       {"ev\t2"}},
      {"locations of zeros",
       0,
       {"ev 000", "ev 0012", "ev 0a"},
       {"", "ev", "\te. 0, 12, a", ""},
       {3, 0, 1, 1},
       {},
       {"ev\t3"}},
      {"letters and locations decoded",
       0,
       {"czzzzay 1@zzzz2", "hzzzzlhzzzzk 7"},
       {"", "çay", "\tç. 1-2", "ılık", "\tı. 7", ""},
       {2, 0, 2, 2},
       {},
       {"çay\t1", "ılık\t1"}},
      {"an invalid record inside a head",
       1,
       {"ev 1", "ev.a@zzzzb 1", "ev.b 2"},
       {"ev", "\te. 1", "\te.+b 2", "\t[=2]", "", ""},
       {3, 1, 2, 1},
       {"ev.a-b 1", "", "Geçersiz kelime:\t1"},
       {"ev\t2"}},
      {"a word repeated: codes in its locations",
       0,
       {"czzzzay 0001@zzzz2", "czzzzay 3@zzzz4", "czzzzay 3@zzzz4"},
       {"", "çay", "\tç. 1-2, 3-4, 3-4", ""},
       {3, 0, 1, 1},
       {},
       {"çay\t3"}},
      {"an invalid word repeated",
       1,
       {"ev 1", "gel.di@zzzzyor 011", "gel.di@zzzzyor 1@zzzz2"},
       {"ev", "\te. 1", "\t[=1]", "", ""},
       {3, 2, 1, 1},
       {"gel.di-yor 011", "gel.di-yor 1-2", "", "Geçersiz kelime:\t2"},
       {"ev\t1"}},
      {"records without a space repeated",
       1,
       {Repeat("czzzz", 24), Repeat("czzzz", 24)},
       {std::string(", ") + Repeat("ç", 24) + ", " + Repeat("ç", 24), "\t[=2]", "", ""},
       {2, 0, 0, 0},
       {},
       {"\t2"}},
      {"a record ending with its space repeated",
       1,
       {a119 + " ", a119 + " "},
       {a119, "\ta. , ", "\t[=2]", "", ""},
       {2, 0, 1, 1},
       {},
       {a119 + "\t2"}},
      {"first record without a space, with counts",
       1,
       {Repeat("czzzz", 24), "ev 1"},
       {std::string(", ") + Repeat("ç", 24), "\t[=1]", "ev", "\te. 1", "\t[=1]", "", ""},
       {2, 0, 1, 1},
       {},
       {"\t1", "ev\t1"}},
      {"first record without a space, without counts",
       0,
       {Repeat("czzzz", 24), "ev 1"},
       {std::string(", ") + Repeat("ç", 24), "ev", "\te. 1", ""},
       {2, 0, 1, 1},
       {},
       {"\t1", "ev\t1"}},
      {"later record without a space, cut inside a code",
       1,
       {"ev 1", std::string("ev") + Repeat("czzzz", 23) + "cz"},
       {"ev", "\te. 1", "\t[=1]", "", std::string("\t. ev") + Repeat("ç", 23) + "cz", "\t[=1]", "",
        ""},
       {2, 0, 2, 2},
       {},
       {"ev\t1", "\t1"}},
      {"record ending with its space",
       0,
       {a119 + " "},
       {"", a119, "\ta. ", ""},
       {1, 0, 1, 1},
       {},
       {a119 + "\t1"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    {
      ScopedTempDir dir;
      Write(c.records, c.sayim);
      EXPECT_EQ(ReadFileBytes("tDizin.txt"), IndexFile(c.body, c.totals));
      if (c.problems.empty()) {
        EXPECT_FALSE(FileExists("tSorun.txt"));
      } else {
        EXPECT_EQ(ReadFileBytes("tSorun.txt"), File(c.problems));
      }
      EXPECT_EQ(ReadFileBytes("MBS.txt"), File(c.counts));
      EXPECT_TRUE(state_->failure.empty());
      EXPECT_TRUE(state_->notes.empty());
    }
  }
}

TEST_F(WriterTest, NoInvalidRecordRemovesAnEarlierProblemFile) {
  WriteFileBytes("tSorun.txt", "eski\r\n");
  WriteFileBytes("tDizin.txt", "eski\r\n");
  Write({"ev 1"}, 0);
  EXPECT_FALSE(FileExists("tSorun.txt"));
  EXPECT_EQ(ReadFileBytes("tDizin.txt"), IndexFile({"", "ev", "\te. 1", ""}, {1, 0, 1, 1}));
  // With an invalid record it is replaced.
  Write({".x 1"}, 0);
  EXPECT_EQ(ReadFileBytes("tSorun.txt"), File({".x 1", "", "Geçersiz kelime:\t1"}));
}

TEST_F(WriterTest, NamesAreCutAt255Bytes) {
  console_ = std::make_unique<MemoryConsole>();
  state_ = std::make_unique<RunState>(*console_, fs_, 10);
  // 250 bytes of base name leave room for "Dizi" and "Soru" only.
  state_->DOSAD = std::string(250, 'n');
  state_->B.Append(".x 1");
  WriteIndex(*state_);
  EXPECT_TRUE(state_->failure.empty()) << state_->failure;
  EXPECT_TRUE(FileExists(std::string(250, 'n') + "Dizin"));
  EXPECT_TRUE(FileExists(std::string(250, 'n') + "Sorun"));
}

/// Watches the track during the write phase: the cells that turned blue one
/// at a time (the progress cells), and whether it was drawn full.
class TrackWatch : public MemoryConsole {
 public:
  std::vector<int> cells;
  bool full = false;

 protected:
  void Changed() override {
    if (Text(15).find("3/3") == std::string::npos) return;
    std::string now = Foregrounds(17);
    if (!last_.empty()) {
      std::vector<int> turned;
      for (int col = 16; col <= 64; ++col) {
        if (last_[col - 1] != '1' && now[col - 1] == '1') turned.push_back(col - 16);
      }
      // A progress cell is one block written just left of the cursor; the
      // full track may also turn a single cell, but ends at column 65.
      if (turned.size() == 1 && screen().cursor_col() == 16 + turned[0] + 1) {
        cells.push_back(turned[0]);
      }
    }
    full = now.substr(15, 49) == std::string(49, '1');
    last_ = now;
  }

 private:
  std::string last_;
};

std::vector<int> Range(int from, int to) {
  std::vector<int> v;
  for (int i = from; i <= to; ++i) v.push_back(i);
  return v;
}

TEST_F(WriterTest, ProgressCellsOfEveryOffsetReachedThenTheFullTrack) {
  struct Case {
    int records;
    std::vector<int> offsets;  // the cells drawn: record I at I * 50 div N, at most 48
  } cases[] = {
      {1, {48}},
      {7, {7, 14, 21, 28, 35, 42, 48}},
      {10, {5, 10, 15, 20, 25, 30, 35, 40, 45, 48}},
      {50, Range(1, 48)},  // the first cell is offset 0 only from 51 records on
      {51, Range(0, 48)},
      {333, Range(0, 48)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.records);
    ScopedTempDir dir;
    TrackWatch watch;
    RunState s(watch, fs_, 1000);
    s.DOSAD = "t";
    watch.SetForeground(kYellow);
    watch.ClearScreen();
    for (int i = 0; i < c.records; ++i) s.B.Append("ev " + std::to_string(1000 + i));
    WriteIndex(s);
    EXPECT_EQ(watch.cells, c.offsets);
    EXPECT_TRUE(watch.full);
    // The phase ends with "İşlem bitti." where the track was.
    EXPECT_EQ(watch.Text(17), std::string(24, ' ') + "İşlem bitti.");
    EXPECT_EQ(watch.Text(15), "");
  }
}

}  // namespace
}  // namespace kavinta
