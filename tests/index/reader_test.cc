// The index edition's reader: tokens, the location rule, line ends, the
// filter and the records it appends.
#include "index/reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "console/memory_console.h"
#include "tests/test_util.h"

namespace kavinta {
namespace {

class ReaderTest : public ::testing::Test {
 protected:
  /// Reads `input` into a fresh state of capacity `capacity`.
  RunState& Read(const std::string& input, int32_t capacity = 1000, size_t chunk = 1 << 20) {
    state_ = std::make_unique<RunState>(console_, fs_, capacity);
    StringInput in(input, chunk);
    state_->BUYUK = in.Size();
    EXPECT_TRUE(ReadIndexInput(*state_, &in));
    return *state_;
  }
  static std::vector<std::string> Records(const RunState& s) {
    std::vector<std::string> out;
    for (int32_t i = 1; i <= s.N(); ++i) out.push_back(s.B.ToString(i));
    return out;
  }

  MemoryConsole console_;
  RealFileSystem fs_;
  std::unique_ptr<RunState> state_;
};

using Strings = std::vector<std::string>;

std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

TEST_F(ReaderTest, SeventyByteExampleGivesSevenRecordsInInputOrder) {
  const std::string input =
      W("012 Ev.ler gel-di\r\n"
        "  \r\n"
        "7 Işık\t(su) ev'de\r\n"
        "... 9. Âlem.\r"
        "Dağ N\x1A"
        "after 1 2");
  ASSERT_EQ(input.size(), 70u);
  const Strings want = {"ev.ler 012", "gel@zzzzdi 012", "hzzzzszzzzhzzzzk 7", "(su) 7",
                        "evde 7",     "alem 9",         "nzzz2 dzzzzagzzzz"};
  // Also with every line end split across two reads.
  for (size_t chunk : {size_t{1} << 20, size_t{1}, size_t{18}}) {
    RunState& s = Read(input, 1000, chunk);
    EXPECT_EQ(Records(s), want) << "chunk " << chunk;
    EXPECT_EQ(s.N(), 7);
    EXPECT_EQ(s.MEVCUT, 58) << "chunk " << chunk;
    EXPECT_FALSE(s.capacity_reached);
  }
}

TEST_F(ReaderTest, LocationRuleLineEndsAndFilter) {
  const std::string a119(119, 'a'), a118(118, 'a'), a117(117, 'a');
  struct Case {
    const char* what;
    std::string input;  // UTF-8 through W(), so Turkish letters are single bytes
    Strings records;
    int64_t mevcut = -1;  // -1: not checked
  } cases[] = {
      {"empty input", "", {}, 0},
      {"location then words", "012 Ev.ler gel-di", {"ev.ler 012", "gel@zzzzdi 012"}},
      {"leading blanks and a tab", "  7\tev   su", {"ev 7", "su 7"}},
      {"tab after the location", "7\tev", {"ev 7"}},
      {"trailing blanks", "7 ev  \t", {"ev 7"}},
      {"one token is no location", "12", {}},
      {"a location does not carry over", "12 \r\nev su", {"su ev"}},
      {"lines of one token give nothing to the next", "12 \r\nev\r\n7 su", {"su 7"}},
      {"a token of dropped bytes only is no token", ",, 7 ev '' su", {"ev 7", "su 7"}},
      {"periods-only token is passed over", "... 9. Âlem.", {"alem 9"}},
      {"periods-only word gives nothing", "7 .. ev", {"ev 7"}},
      {"capital D and N stay letters", "Dağ N", {"nzzz2 dzzzzagzzzz"}},
      {"Turkish capitals and circumflex",
       "7 IŞIK İlim Âlem hâlâ Îmân Ûlâ",
       {"hzzzzszzzzhzzzzk 7", "ilim 7", "alem 7", "hala 7", "iman 7", "ula 7"}},
      {"letters outside the alphabet are dropped", "7 Ákif äb Ê", {"kif 7", "b 7"}},
      {"dropped bytes join a word", "7 ev'de a,b ev\u00A0de", {"evde 7", "ab 7", "evde 7"}},
      {"control bytes and signs are dropped",
       std::string("7 e\0v ?!:;[]@\"e", 15),
       {"ev 7", "e 7"}},
      {"signs stay", "7 (su) 1+1 a/b - x.", {"(su) 7", "1@yyyy1 7", "a/b 7", "@zzzz 7", "x 7"}},
      {"location encoded", "1-2. ev", {"ev 1@zzzz2"}},
      {"location keeps its zeros", "0010 ev", {"ev 0010"}},
      {"same word twice", "1 ev ev", {"ev 1", "ev 1"}},
      {"LF, CR, CR LF, none", "1 a\n2 b\r3 c\r\n4 d", {"a 1", "b 2", "c 3", "d 4"}, 4 * 3 + 4},
      {"LF CR is two line ends", "1 a\n\r2 b", {"a 1", "b 2"}, 3 + 1 + 1 + 3 + 1},
      {"CR LF is one", "1 a\r\n2 b", {"a 1", "b 2"}, 3 + 1 + 3 + 1},
      {"0x1A mid-line ends the input",
       "1 a b\x1A"
       "c\r\n2 d",
       {"a 1", "b 1"},
       5 + 1},
      {"0x1A after a token that would be a location", "1\x1A 2 a", {}, 2},
      {"word of 119 bytes ends with the space", "7 " + a119, {a119 + " "}},
      {"word of 118 bytes keeps one location byte", "12 " + a118, {a118 + " 1"}},
      {"record of exactly 120 bytes", "12 " + a117, {a117 + " 12"}},
      {"long word: no space, no location", "7 " + std::string(300, 'a'), {std::string(120, 'a')}},
      {"a code cut at 120",
       std::string("7 a") + Repeat("ç", 30),
       {std::string("a") + Repeat("czzzz", 23) + "czzz"}},
  };
  for (const Case& c : cases) {
    RunState& s = Read(W(c.input));
    EXPECT_EQ(Records(s), c.records) << c.what;
    if (c.mevcut >= 0) {
      EXPECT_EQ(s.MEVCUT, c.mevcut) << c.what;
    }
  }
}

TEST_F(ReaderTest, FullListDropsTheRestOfTheLineAndStopsBeforeTheNext) {
  RunState& s = Read("1 a b\r\n2 c d e\r\n3 f\r\n", 3);
  EXPECT_EQ(Records(s), (Strings{"a 1", "b 1", "c 2"}));
  EXPECT_TRUE(s.capacity_reached);
  // The second line is read to its end and its line end passed; the third
  // is never started.
  EXPECT_EQ(s.MEVCUT, 6 + 8);
}

TEST_F(ReaderTest, ListFilledByTheLastWordDropsNothing) {
  RunState& s = Read("1 a b", 2);
  EXPECT_EQ(s.N(), 2);
  EXPECT_FALSE(s.capacity_reached);
}

TEST_F(ReaderTest, TokensAreCutAt255BeforeEncoding) {
  // 255 periods and an x: cut at 255 the token is periods only, so it is no
  // location and, as a word, gives nothing.
  const std::string dots = std::string(255, '.') + "x";
  EXPECT_EQ(Records(Read(dots + " 7 ev")), (Strings{"ev 7"}));
  EXPECT_EQ(Records(Read("7 " + dots + " ev")), (Strings{"ev 7"}));
  // 254 periods and an x fit: the word is stored (its first 120 bytes).
  const std::string fits = std::string(254, '.') + "x";
  EXPECT_EQ(Records(Read("7 " + fits)), (Strings{fits.substr(0, 120)}));
}

}  // namespace
}  // namespace kavinta
