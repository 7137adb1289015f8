// What kavinta23 does when its files cannot be written or read, when the
// input is the head-count file itself, and when the record list fills: the
// files of an earlier run stay as they were, and the screen says what
// happened.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "tests/fault_fs.h"
#include "tests/index/run_helpers.h"

namespace kavinta {
namespace {

class FailureTest : public ::testing::Test {
 protected:
  /// The sample input and the three files of an earlier run.
  void Earlier(const std::string& input) {
    WriteFileBytes("ornek.txt", input);
    for (const char* name : {"ornekDizin.txt", "ornekSorun.txt", "MBS.txt"}) {
      WriteFileBytes(name, std::string("earlier ") + name + "\r\n");
    }
  }
  void ExpectEarlierFilesKept() {
    for (const char* name : {"ornekDizin.txt", "ornekSorun.txt", "MBS.txt"}) {
      EXPECT_EQ(ReadFileBytes(name), std::string("earlier ") + name + "\r\n") << name;
    }
    EXPECT_EQ(FolderNames(),
              (std::set<std::string>{"ornek.txt", "ornekDizin.txt", "ornekSorun.txt", "MBS.txt"}));
  }

  ScopedTempDir dir_;
  RealFileSystem real_;
  FaultFileSystem fs_{real_};
  const std::string sample_ = ReadFileBytes(SourceFile("examples/ornek.txt"));
};

TEST_F(FailureTest, AFileThatCannotBeWrittenLeavesEveryEarlierFile) {
  struct Case {
    const char* name;
    Fault fault;
  } cases[] = {
      {"ornekDizin.txt", Fault::kCreate}, {"ornekSorun.txt", Fault::kCreate},
      {"MBS.txt", Fault::kCreate},        {"ornekDizin.txt", Fault::kWrite},
      {"ornekSorun.txt", Fault::kWrite},  {"MBS.txt", Fault::kWrite},
      {"ornekDizin.txt", Fault::kClose},  {"MBS.txt", Fault::kClose},
      {"ornekDizin.txt", Fault::kRename},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " " + FaultName(c.fault));
    ScopedTempDir dir;
    Earlier(sample_);
    FaultFileSystem fs(real_);
    fs.Fail(c.name, c.fault);
    IndexRun run(fs, "ornek\rEx");
    EXPECT_EQ(run.status, 0);
    ExpectEarlierFilesKept();
    // The earlier problem file is not removed either.
    EXPECT_TRUE(fs.removed().empty());
    const MemoryConsole& con = run.console;
    const std::string message = std::string("Çıkış dosyası yazılamadı: ") + c.name;
    EXPECT_EQ(con.Text(17), Blanks(24) + message) << con.Dump();
    EXPECT_EQ(con.Text(19), Blanks(24) + "Önceki dosyalar olduğu gibi kaldı.");
    EXPECT_EQ(con.Text(21), Blanks(24) + "Çıkmak için her hangi bir tuşa basınız.");
    EXPECT_EQ(con.Foregrounds(17).substr(24, 10), std::string(10, '4'));
    EXPECT_EQ(con.Foregrounds(21), Span('e', 25, 63, '4'));
  }
}

TEST_F(FailureTest, ALateRenameFailureSaysWhichFilesWereRenewed) {
  // The index and the problem file are already in place when the head-count
  // file cannot be renamed: the screen must not claim that nothing changed.
  Earlier(sample_);
  fs_.Fail("MBS.txt", Fault::kRename);
  IndexRun run(fs_, "ornek\rEx");
  EXPECT_EQ(ReadFileBytes("ornekDizin.txt"), Fixture("ornekDizin.E.txt"));
  EXPECT_EQ(ReadFileBytes("MBS.txt"), "earlier MBS.txt\r\n");
  EXPECT_EQ(run.console.Text(17), Blanks(24) + "Çıkış dosyası yazılamadı: MBS.txt");
  EXPECT_EQ(run.console.Text(19), Blanks(24) + "Bundan önceki çıkış dosyaları yenilendi.");
  EXPECT_EQ(FolderNames(),
            (std::set<std::string>{"ornek.txt", "ornekDizin.txt", "ornekSorun.txt", "MBS.txt"}));
}

TEST_F(FailureTest, EarlierProblemFileSurvivesAFailedRunWithoutInvalidWords) {
  Earlier("1 ev\r\n");
  fs_.Fail("ornekDizin.txt", Fault::kCreate);
  IndexRun run(fs_, "ornek\rHx");
  ExpectEarlierFilesKept();
  EXPECT_FALSE(run.state->failure.empty());
}

TEST_F(FailureTest, ReadOnlyFolder) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  Earlier(sample_);
  std::filesystem::permissions(".", std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);
  IndexRun run(real_, "ornek\rEx");
  std::filesystem::permissions(".", std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::add);
  ExpectEarlierFilesKept();
  EXPECT_EQ(run.console.Text(17), Blanks(24) + "Çıkış dosyası yazılamadı: ornekDizin.txt");
}

TEST_F(FailureTest, AProblemFileThatCannotBeRemovedIsNamed) {
  Earlier("1 ev\r\n");
  fs_.Fail("ornekSorun.txt", Fault::kRemove);
  IndexRun run(fs_, "ornek\rHx");
  EXPECT_EQ(run.console.Text(17), Blanks(24) + "İşlem bitti.");
  EXPECT_EQ(run.console.Text(18), Blanks(24) + "Eski sorun dosyası silinemedi: ornekSorun.txt");
  EXPECT_EQ(ReadFileBytes("MBS.txt"), "ev\t1\r\n");
}

TEST_F(FailureTest, TheHeadCountFileIsNotWrittenOverItsOwnInput) {
  for (const char* typed : {"MBS", "./MBS"}) {
    SCOPED_TRACE(typed);
    ScopedTempDir dir;
    WriteFileBytes("MBS.txt", sample_);
    RealFileSystem fs;
    IndexRun run(fs, std::string(typed) + "\rEx");
    EXPECT_EQ(ReadFileBytes("MBS.txt"), sample_);
    EXPECT_EQ(ReadFileBytes("MBSDizin.txt"), Fixture("ornekDizin.E.txt"));
    EXPECT_EQ(ReadFileBytes("MBSSorun.txt"), Fixture("ornekSorun.txt"));
    EXPECT_EQ(FolderNames(), (std::set<std::string>{"MBS.txt", "MBSDizin.txt", "MBSSorun.txt"}));
    EXPECT_EQ(run.console.Text(17), Blanks(24) + "İşlem bitti.");
    EXPECT_EQ(run.console.Text(18), Blanks(24) + "MBS.txt giriş dosyası olduğu için yazılmadı.");
  }
}

TEST_F(FailureTest, AReadErrorWritesNothing) {
  Earlier(sample_);
  fs_.Fail("ornek.txt", Fault::kRead, 30);
  IndexRun run(fs_, "ornek\rEx");
  EXPECT_EQ(run.state->HATA, kReadError);
  ExpectEarlierFilesKept();
  EXPECT_EQ(run.console.Text(14), Blanks(24) + "\"ornek.txt\" adlı dosya okunamadı.");
}

TEST_F(FailureTest, AnInputWithoutRecordsWritesNothing) {
  Earlier(W("12\r\n  ,; 'x\r\n.. \t\r\n"));
  IndexRun run(fs_, "ornek\rEx");
  EXPECT_EQ(run.state->HATA, kNoRecords);
  ExpectEarlierFilesKept();
  EXPECT_EQ(run.console.Text(12), Blanks(24) + "İşleme devam edilemiyor.");
}

TEST_F(FailureTest, AFullRecordListIsToldOnTheFinalScreen) {
  Earlier(sample_);
  IndexRun run(fs_, "ornek\rEx", 5);
  EXPECT_TRUE(run.state->capacity_reached);
  EXPECT_EQ(run.state->N(), 5);
  EXPECT_EQ(run.console.Text(17), Blanks(24) + "İşlem bitti.");
  EXPECT_EQ(run.console.Text(18), Blanks(24) + "Yalnızca ilk 5 kelime alındı; gerisi okunmadı.");
  // The files hold the five words taken: ev, gel.di and gel of line 1, gel
  // and ev.de of line 2.
  EXPECT_EQ(ReadFileBytes("MBS.txt"), "ev\t2\r\ngel\t3\r\n");
  EXPECT_FALSE(FileExists("ornekSorun.txt"));
}

}  // namespace
}  // namespace kavinta
