// The sample transcription run through the whole of kavinta23 in-process:
// its three files byte for byte for both answers, and the final screen.
#include <gtest/gtest.h>

#include "tests/index/run_helpers.h"

namespace kavinta {
namespace {

TEST(ExampleTest, SampleTranscriptionHoldsTheFiveLines) {
  EXPECT_EQ(ReadFileBytes(SourceFile("examples/ornek.txt")), W("001 ev gel.di gel\r\n"
                                                               "002 gel ev.de çay\r\n"
                                                               "010 gel.di gel-ecek .de\r\n"
                                                               "011 gel.di-yor ev.de\r\n"
                                                               "012 gel-\r\n"));
}

TEST(ExampleTest, BothAnswersGiveTheFilesByteForByte) {
  struct Case {
    const char* answer;
    const char* index_fixture;
    uint8_t sayim;
  } cases[] = {{"E", "ornekDizin.E.txt", 1},
               {"e", "ornekDizin.E.txt", 1},
               {"H", "ornekDizin.H.txt", 0},
               {"h", "ornekDizin.H.txt", 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    ScopedTempDir dir;
    WriteFileBytes("ornek.txt", ReadFileBytes(SourceFile("examples/ornek.txt")));
    RealFileSystem fs;
    IndexRun run(fs, std::string("ornek\r") + c.answer + "x");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.state->HATA, kGoOn);
    EXPECT_EQ(run.state->SAYIM, c.sayim);
    EXPECT_EQ(run.state->N(), 12);
    EXPECT_EQ(ReadFileBytes("ornekDizin.txt"), Fixture(c.index_fixture));
    EXPECT_EQ(ReadFileBytes("ornekSorun.txt"), Fixture("ornekSorun.txt"));
    EXPECT_EQ(ReadFileBytes("MBS.txt"), Fixture("MBS.txt"));
    // Nothing else is left in the folder: no temporary file.
    EXPECT_EQ(FolderNames(),
              (std::set<std::string>{"ornek.txt", "ornekDizin.txt", "ornekSorun.txt", "MBS.txt"}));
    // The closing key is still pending: it was never read.
    EXPECT_EQ(run.console.keys_left(), 1u);
  }
}

TEST(ExampleTest, FinalScreenAfterACompleteRun) {
  ScopedTempDir dir;
  WriteFileBytes("ornek.txt", ReadFileBytes(SourceFile("examples/ornek.txt")));
  RealFileSystem fs;
  IndexRun run(fs, "ornek\rEx");
  const MemoryConsole& c = run.console;
  for (int r = 1; r <= 25; ++r) {
    std::string want;
    if (r == 9) want = Blanks(24) + "Kavinta 2.3";
    if (r == 11) want = Blanks(24) + "Giriş dosyası: ornek";
    if (r == 12) want = Blanks(24) + "Çıkış dosyası: ornekDizin";
    if (r == 17) want = Blanks(24) + "İşlem bitti.";
    if (r == 21) want = Blanks(24) + "Çıkmak için her hangi bir tuşa basınız.";
    EXPECT_EQ(c.Text(r), want) << "row " << r << "\n" << c.Dump();
    EXPECT_EQ(c.Backgrounds(r), std::string(80, '3')) << r;
  }
  EXPECT_EQ(c.Foregrounds(9), std::string(80, 'e'));
  EXPECT_EQ(c.Foregrounds(11), std::string(80, 'e'));
  EXPECT_EQ(c.Foregrounds(12), std::string(80, 'e'));
  EXPECT_EQ(c.Foregrounds(17), Span('e', 25, 36, '1'));
  EXPECT_EQ(c.Foregrounds(21), Span('e', 25, 63, '1'));
  EXPECT_FALSE(c.screen().cursor_visible());
}

}  // namespace
}  // namespace kavinta
