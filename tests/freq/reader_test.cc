// The word reader of the frequency edition: the character classes and their
// folding, words and separators, line ends and the end of input, the records
// it stores and the capacity of the record list.
#include "freq/reader.h"

#include <gtest/gtest.h>

#include "console/memory_console.h"
#include "console/run.h"
#include "tests/freq/freq_run.h"
#include "tests/test_util.h"
#include "words/sort_key.h"

namespace kavinta {
namespace {

/// What one reading of an input left behind.
struct Reading {
  bool ok;
  std::vector<std::string> records;  // as stored (encoded)
  std::vector<std::string> words;    // decoded back, Windows-1254
  int64_t mevcut;
  bool capacity_reached;
};

Reading Read(const std::string& bytes, size_t chunk = 1 << 20, int32_t capacity = 1000) {
  RealFileSystem fs;
  MemoryConsole console;
  RunState s(console, fs, capacity);
  StringInput input(bytes, chunk);
  s.BUYUK = input.Size();
  Reading r;
  r.ok = ReadFrequencyWords(s, &input);
  for (int32_t i = 1; i <= s.N(); ++i) {
    r.records.push_back(s.B.ToString(i));
    ByteString w(r.records.back());
    AYAR2(w, kCodes20a);
    r.words.push_back(w.str());
  }
  r.mevcut = s.MEVCUT;
  r.capacity_reached = s.capacity_reached;
  return r;
}

/// Windows-1254 forms of UTF-8 words.
std::vector<std::string> Words(std::initializer_list<std::string_view> utf8) {
  std::vector<std::string> out;
  for (std::string_view w : utf8) out.push_back(W(w));
  return out;
}

TEST(FrequencyReaderTest, ReadsTheSampleIntoNineRecordsInInputOrder) {
  const std::string input = W("Dağda Çay, ılık su.\r\nIŞIK\tçay su\r\nsu-yu  Âlem'de");
  ASSERT_EQ(input.size(), 48u);
  ASSERT_EQ(Fixture("ornek.txt"), input);
  // The encoded words, with the edition's four-byte codes: ç czzz, ğ gzzz,
  // ı hzzz, ş szzz, - @zzz.
  const std::vector<std::string> want = {"dagzzzda", "czzzay",        "hzzzlhzzzk",
                                         "su",       "hzzzszzzhzzzk", "czzzay",
                                         "su",       "su@zzzyu",      "alemde"};
  for (size_t chunk : {size_t{1}, size_t{7}, size_t{1} << 20}) {
    Reading r = Read(input, chunk);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.records, want) << "chunk " << chunk;
    EXPECT_EQ(r.mevcut, 47) << "chunk " << chunk;
    EXPECT_FALSE(r.capacity_reached);
  }
}

// Every byte against the edition's classes: the 88 allowed bytes and what
// each becomes, every other byte dropped.
TEST(FrequencyReaderTest, ClassOfEveryByte) {
  std::array<int, 256> want;
  want.fill(0);
  want['\t'] = ' ';
  want[' '] = ' ';
  for (int c : {'+', '-'}) want[c] = c;
  for (int c = '0'; c <= '9'; ++c) want[c] = c;
  for (int c = 'a'; c <= 'z'; ++c) want[c] = c;
  for (int c = 'A'; c <= 'Z'; ++c) want[c] = c + 0x20;                         // D and N too
  want['I'] = 0xFD;                                                            // ı
  for (int c : {0xE7, 0xE9, 0xF0, 0xFD, 0xF1, 0xF6, 0xFE, 0xFC}) want[c] = c;  // ç é ğ ı ñ ö ş ü
  const std::pair<int, int> table[] = {
      {0xE2, 'a'},  {0xC2, 'a'},  {0xEE, 'i'},  {0xCE, 'i'},  {0xDD, 'i'},
      {0xFB, 'u'},  {0xDB, 'u'},  {0xC7, 0xE7}, {0xC9, 0xE9}, {0xD0, 0xF0},
      {0xD1, 0xF1}, {0xD6, 0xF6}, {0xDE, 0xFE}, {0xDC, 0xFC},
  };
  for (auto [from, to] : table) want[from] = to;
  int allowed = 0;
  for (int c = 0; c < 256; ++c) {
    EXPECT_EQ(kWordClass20a[c], want[c]) << "byte 0x" << std::hex << c;
    allowed += want[c] != 0;
  }
  EXPECT_EQ(allowed, 88);
}

TEST(FrequencyReaderTest, FoldsEveryCapitalToItsSmallLetter) {
  const struct {
    const char* input;
    std::vector<std::string> words;
  } cases[] = {
      // Capital D and N are lowered in this edition, unlike the index edition.
      {"Dağda Nane DN", Words({"dağda", "nane", "dn"})},
      {"IŞIK Irak İlim", Words({"ışık", "ırak", "ilim"})},
      {"Âlem hâlâ Îmân Ûlâ", Words({"alem", "hala", "iman", "ula"})},
      {"ÇÖĞÜŞ Ñ É QWXYZ", Words({"çöğüş", "ñ", "é", "qwxyz"})},
  };
  for (const auto& c : cases) EXPECT_EQ(Read(W(c.input)).words, c.words) << c.input;
  // The records hold the codes: D and N get none of their own here.
  EXPECT_EQ(Read(W("DNñ")).records, std::vector<std::string>{"dnnzzz"});
}

TEST(FrequencyReaderTest, DropsWhatIsNotAllowedWithoutSplittingTheWord) {
  const struct {
    const char* input;
    std::vector<std::string> words;
  } cases[] = {
      {"ev'de", Words({"evde"})},
      {"su.", Words({"su"})},
      {"(su)", Words({"su"})},
      {"a.b a/b \"a,b\"", Words({"ab", "ab", "ab"})},
      {"su\u00A0yu", Words({"suyu"})},  // the no-break space is no separator
      {"áb äc Àd", Words({"b", "c", "d"})},
      {"x\x01y\x7Fz", Words({"xyz"})},
      {". , ' ( ) / \u00A0", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(Read(W(c.input)).words, c.words) << c.input;
}

TEST(FrequencyReaderTest, EveryTokenIsOneWord) {
  const struct {
    const char* input;
    std::vector<std::string> records;
  } cases[] = {
      {"su-yu", {"su@zzzyu"}},
      {"1+1", {"1@yyy1"}},
      {"ev - gel", {"ev", "@zzz", "gel"}},  // a hyphen alone is a word
      {"012 ev", {"012", "ev"}},            // no location in this edition
      {"a\tb", {"a", "b"}},
      {"  \t a \t\t  b  \t", {"a", "b"}},  // runs of separators give no empty word
      {"\t \t", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(Read(W(c.input)).records, c.records) << c.input;
}

TEST(FrequencyReaderTest, LineEndsAndTheEndOfInput) {
  const struct {
    const char* input;
    std::vector<std::string> words;
    int64_t mevcut;  // bytes read plus one per line end passed
  } cases[] = {
      {"", {}, 0},
      {"a", {"a"}, 2},  // the last line's missing line end is counted
      {"a\r\n", {"a"}, 2},
      {"a\rb", {"a", "b"}, 4},
      {"a\nb\r\nc\rd", {"a", "b", "c", "d"}, 8},
      {"a\n\rb", {"a", "b"}, 5},  // LF CR: a line end, then an empty line
      {"a\r\n\r\nb", {"a", "b"}, 5},
      {"a b\x1A"
       "c d\r\ne",
       {"a", "b"},
       4},  // 0x1A ends the input mid-line
      {"a\r\n\x1A"
       "b",
       {"a"},
       2},  // 0x1A at a line start: no further line
      {"\x1A"
       "a",
       {},
       0},
      {"ab\r", {"ab"}, 3},
  };
  for (const auto& c : cases) {
    for (size_t chunk : {size_t{1}, size_t{2}, size_t{1} << 20}) {
      Reading r = Read(c.input, chunk);
      EXPECT_TRUE(r.ok);
      EXPECT_EQ(r.words, c.words) << testing::PrintToString(c.input) << " chunk " << chunk;
      EXPECT_EQ(r.mevcut, c.mevcut) << testing::PrintToString(c.input) << " chunk " << chunk;
    }
  }
}

TEST(FrequencyReaderTest, RecordsAreCutAt120Bytes) {
  // 300 letters: cut at 255 while built, stored with its first 120 bytes.
  EXPECT_EQ(Read(std::string(300, 'a')).records, std::vector<std::string>{std::string(120, 'a')});
  // The cut can fall inside a code: a, 29 codes of ç, then "czz".
  std::string word = "a";
  for (int i = 0; i < 40; ++i) word += W("ç");
  std::string want = "a";
  for (int i = 0; i < 29; ++i) want += "czzz";
  want += "czz";
  ASSERT_EQ(want.size(), 120u);
  EXPECT_EQ(Read(word).records, std::vector<std::string>{want});
}

TEST(FrequencyReaderTest, StopsAtTheCapacityAndSaysSo) {
  const struct {
    const char* input;
    std::vector<std::string> words;
    int64_t mevcut;
    bool capacity_reached;
  } cases[] = {
      // Full in mid-line: the rest of the line is read and dropped, its line
      // end passed; reading stops before the next line.
      {"a b\nc d e\nf\n", {"a", "b", "c"}, 10, true},
      // Full at a line's end with more input to come.
      {"a b c\nd", {"a", "b", "c"}, 6, true},
      // Full in the last line: its further words are dropped all the same.
      {"a b\nc d", {"a", "b", "c"}, 8, true},
      // Exactly full at the end of the input: nothing was dropped.
      {"a b\nc", {"a", "b", "c"}, 6, false},
  };
  for (const auto& c : cases) {
    Reading r = Read(c.input, 1 << 20, 3);
    EXPECT_EQ(r.words, c.words) << c.input;
    EXPECT_EQ(r.mevcut, c.mevcut) << c.input;
    EXPECT_EQ(r.capacity_reached, c.capacity_reached) << c.input;
  }
}

TEST(FrequencyReaderTest, NothingIsReadFromAnInputThatDidNotOpen) {
  RealFileSystem fs;
  MemoryConsole console;
  RunState s(console, fs, 10);
  EXPECT_TRUE(ReadFrequencyWords(s, nullptr));
  EXPECT_EQ(s.N(), 0);
  EXPECT_EQ(s.MEVCUT, 0);
}

}  // namespace
}  // namespace kavinta
