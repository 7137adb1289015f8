// Both programs on the inputs users actually feed them: empty and binary
// files, files of nothing but end marks, separators or zero bytes, a 20 MB
// line without a line end, UTF-8 text, a folder where the file should be,
// an unreadable file, and names at the length limit or with Turkish letters.
// Every run must end at the closing prompt with status 0, write complete
// files or none, and leave no temporary file behind.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <random>
#include <string>

#include "tests/robust/robust_run.h"
#include "tests/test_util.h"

namespace kavinta {
namespace {

const std::string kClosing = "Çıkmak için her hangi bir tuşa basınız.";

/// A line of every file: text, CR LF.
std::string Lines(std::initializer_list<std::string> lines) {
  std::string out;
  for (const std::string& l : lines) out += l + "\r\n";
  return out;
}

/// Nothing half-written: no temporary output file is left in the folder.
void ExpectNoTemporaryFiles() {
  for (const std::string& name : Names()) {
    EXPECT_FALSE(name.starts_with(".kavinta-")) << name;
  }
}

/// The run found no word to list: the no-records screen, nothing written.
void ExpectNoRecords(const ProgramRun& run, const std::set<std::string>& before) {
  EXPECT_EQ(run.state->HATA, kNoRecords);
  EXPECT_EQ(run.From25(12), "İşleme devam edilemiyor.") << run.console.Dump();
  EXPECT_EQ(run.From25(15), "dizin için uygun kayıt bulunamadı.");
  EXPECT_EQ(Names(), before);
}

void ExpectDone(const ProgramRun& run) {
  EXPECT_EQ(run.state->HATA, kGoOn);
  EXPECT_EQ(run.From25(17), "İşlem bitti.") << run.console.Dump();
}

struct BadInput {
  const char* what;
  std::function<void()> make;  ///< makes the input in the current folder
  std::string typed = "x";     ///< the name typed, UTF-8
  /// Checks a run that got this far; null: the no-records outcome.
  std::function<void(const Program&, const ProgramRun&)> check = nullptr;
};

TEST(BadInputTest, EveryRunEndsAtTheClosingPromptWithCompleteFilesOrNone) {
  // 20 MB in one line without a line end: a location, then the same word
  // again and again.
  const int64_t kBigLine = 20 << 20;
  const int64_t kWords = (kBigLine - 2) / 7;
  const std::string big_line = "1 " + [&] {
    std::string words;
    words.reserve(static_cast<size_t>(kWords * 7));
    for (int64_t i = 0; i < kWords; ++i) words += "kelime ";
    return words;
  }();

  const BadInput cases[] = {
      {"an empty file", [] { WriteFileBytes("x.txt", ""); }},
      {"a file of end marks", [] { WriteFileBytes("x.txt", std::string(4096, '\x1A')); }},
      {"a file of separators and line ends",
       [] { WriteFileBytes("x.txt", std::string(" \t \r\n\t\t\n\r   \n\r").append(5000, ' ')); }},
      {"a file of zero bytes", [] { WriteFileBytes("x.txt", std::string(1 << 20, '\0')); }},
      {"a folder named x.txt", [] { std::filesystem::create_directory("x.txt"); }},
      {"a 20 MB line without a line end", [&] { WriteFileBytes("x.txt", big_line); }, "x",
       [&](const Program& p, const ProgramRun& run) {
         ExpectDone(run);
         EXPECT_EQ(run.state->MEVCUT, static_cast<int64_t>(big_line.size()) + 1);
         const std::string n = std::to_string(kWords);
         if (p.edition == &kFrequencyEdition) {
           EXPECT_EQ(ReadFileBytes("xDizin.txt"),
                     Lines({"1\t1", "kelime\t" + n, "",
                            "Toplam kelime:\t" + std::to_string(kWords + 1), W("Madde başı:\t2")}));
           return;
         }
         // One head, one sub-entry line with every location, and its count.
         std::string sub = "\tk. 1";
         for (int64_t i = 1; i < kWords; ++i) sub += ", 1";
         const std::string want =
             Lines({"Dizin", "",
                    W("Sıra: a b c ç d D e é f g ğ h ı i j k l m n ñ N o ö p q r s ş t u ü v w "
                      "x y z"),
                    "", "kelime", sub, "\t[=" + n + "]", "", "", "Toplam kelime:\t" + n,
                    W("Geçerli kelime:\t") + n, W("Geçersiz kelime:\t0"), "Alt madde:\t1",
                    W("Madde başı:\t1")});
         const std::string got = ReadFileBytes("xDizin.txt");
         EXPECT_EQ(got.size(), want.size());
         EXPECT_TRUE(got == want);
         EXPECT_EQ(ReadFileBytes("MBS.txt"), "kelime\t" + n + "\r\n");
         EXPECT_FALSE(FileExists("xSorun.txt"));
       }},
      // A UTF-8 file (with its byte-order mark) read as Windows-1254: each
      // byte of a two-byte Turkish letter is a letter with a mark neither
      // edition allows, so the letter is dropped from its word ("çay" gives
      // "ay", "ılık" "lk", "Şişe" "ie"); the lead byte 0xC2 of "°" is "Â" and
      // folds to "a" ("5°" gives "5a"); the byte-order mark is dropped whole.
      {"a UTF-8 file",
       [] {
         WriteFileBytes("x.txt",
                        "\xEF\xBB\xBF"
                        "1 çay ılık\r\n2 Şişe 5°\r\n");
       },
       "x",
       [](const Program& p, const ProgramRun& run) {
         ExpectDone(run);
         if (p.edition == &kFrequencyEdition) {
           EXPECT_EQ(ReadFileBytes("xDizin.txt"),
                     Lines({"1\t1", "2\t1", "5a\t1", "ay\t1", "ie\t1", "lk\t1", "",
                            "Toplam kelime:\t6", W("Madde başı:\t6")}));
         } else {
           EXPECT_EQ(ReadFileBytes("MBS.txt"), Lines({"5a\t1", "ay\t1", "ie\t1", "lk\t1"}));
           EXPECT_EQ(run.state->N(), 4);
         }
       }},
      // Random bytes, without the end mark 0x1A: with it the input would end
      // within its first few hundred bytes.
      {"random binary",
       [] {
         std::mt19937 gen(20260611);
         std::string bytes(1 << 20, '\0');
         for (char& c : bytes) c = static_cast<char>(gen());
         std::replace(bytes.begin(), bytes.end(), '\x1A', '\x1B');
         WriteFileBytes("x.txt", bytes);
       },
       "x",
       [](const Program& p, const ProgramRun& run) {
         ExpectDone(run);
         // Complete: the totals close the file, and count every record.
         const std::string total = "\r\nToplam kelime:\t" + std::to_string(run.state->N()) + "\r\n";
         EXPECT_NE(ReadFileBytes("xDizin.txt").find(total), std::string::npos);
         EXPECT_EQ(FileExists("MBS.txt"), p.edition == &kIndexEdition);
       }},
      // The name plus ".txt" is cut at 255 bytes, and so are the output names.
      {"a name of 254 characters, typed with 6 more",
       [] { WriteFileBytes(std::string(254, 'n') + ".", "1 ev\r\n"); }, std::string(260, 'n'),
       [](const Program& p, const ProgramRun& run) {
         ExpectDone(run);
         EXPECT_EQ(run.state->DOSAD, std::string(254, 'n'));
         EXPECT_EQ(ReadFileBytes(std::string(254, 'n') + "D").substr(0, 5),
                   p.edition == &kIndexEdition ? "Dizin" : "1\t1\r\n");
       }},
      // Typed as CP857 keys; found and written under the UTF-8 names.
      {"a name with Turkish letters", [] { WriteFileBytes("çalışma ğüŞÖİ.txt", "1 ev\r\n"); },
       "çalışma ğüŞÖİ",
       [](const Program& p, const ProgramRun& run) {
         ExpectDone(run);
         EXPECT_EQ(run.From25(12), "Çıkış dosyası: çalışma ğüŞÖİDizin");
         EXPECT_TRUE(FileExists("çalışma ğüŞÖİDizin.txt"));
       }},
  };

  for (const BadInput& c : cases) {
    for (const Program& p : kPrograms) {
      SCOPED_TRACE(std::string(p.name) + " on " + c.what);
      ScopedTempDir dir;
      c.make();
      const std::set<std::string> before = Names();
      RealFileSystem fs;
      ProgramRun run(p, fs, c.typed);
      EXPECT_EQ(run.status, 0);
      EXPECT_FALSE(run.state->aborted);
      EXPECT_EQ(run.From25(21), kClosing) << run.console.Dump();
      if (c.check) {
        c.check(p, run);
      } else {
        ExpectNoRecords(run, before);
      }
      ExpectNoTemporaryFiles();
    }
  }
}

TEST(BadInputTest, AnUnreadableFileCountsAsAnInputWithoutRecords) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads files without read permission";
  for (const Program& p : kPrograms) {
    SCOPED_TRACE(p.name);
    ScopedTempDir dir;
    WriteFileBytes("x.txt", "1 ev\r\n");
    ASSERT_EQ(chmod("x.txt", 0), 0);
    const std::set<std::string> before = Names();
    RealFileSystem fs;
    ProgramRun run(p, fs, "x");
    EXPECT_EQ(run.status, 0);
    ExpectNoRecords(run, before);
    EXPECT_EQ(run.From25(21), kClosing);
    chmod("x.txt", 0600);
  }
}

}  // namespace
}  // namespace kavinta
