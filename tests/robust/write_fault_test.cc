// Both programs when their output cannot be written: the file cannot be
// created, the disk fills in the middle of a write, or the finished file
// cannot be renamed into place. Each run must end with the failure in red
// where "İşlem bitti." would stand, the closing prompt in red, status 0, the
// files of an earlier run exactly as they were, and no temporary file left.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tests/fault_fs.h"
#include "tests/robust/robust_run.h"
#include "tests/test_util.h"

namespace kavinta {
namespace {

/// The files a run with the base name "x" writes.
std::vector<std::string> Outputs(const Program& p) {
  if (p.edition == &kIndexEdition) return {"xDizin.txt", "xSorun.txt", "MBS.txt"};
  return {"xDizin.txt"};
}

/// An input that gives both programs records, and the index invalid words
/// (so that all three of its files are written).
std::string SmallInput() { return "001 ev gel.di gel\r\n010 gel-ecek .de gel.di-yor\r\n"; }

/// An input whose index and frequency list run to more than a megabyte.
std::string LargeInput() {
  std::string text;
  for (int i = 0; i < 40000; ++i) {
    const std::string n = std::to_string(i);
    text += n + " w" + n + " v" + n + "\r\n";
  }
  return text;
}

/// Makes file writes beyond `bytes` fail with EFBIG, as a full disk makes
/// them fail in the middle of a file, while the object lives.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &old_);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, old_handler_);
  }

 private:
  rlimit old_{};
  void (*old_handler_)(int) = nullptr;
};

struct WriteFault {
  const char* what;
  std::string input;
  /// Arranges the fault in the current folder and runs; returns the run.
  std::function<std::unique_ptr<ProgramRun>(const Program&)> run;
  const char* reason;  ///< the note under the message, without its brackets
};

TEST(WriteFaultTest, AFailedWriteIsShownInRedAndLeavesTheEarlierFiles) {
  RealFileSystem real;
  auto faulty = [&real](Fault fault) {
    return [&real, fault](const Program& p) {
      FaultFileSystem fs(real);
      fs.Fail("xDizin.txt", fault);
      return std::make_unique<ProgramRun>(p, fs, "x");
    };
  };
  const WriteFault faults[] = {
      {"creation fails", SmallInput(), faulty(Fault::kCreate), "yazma izni yok"},
      {"every write fails", SmallInput(), faulty(Fault::kWrite), "diskte yer yok"},
      {"the disk fills in the middle of the file", LargeInput(),
       [&real](const Program& p) {
         FileSizeLimit limit(256 << 10);
         return std::make_unique<ProgramRun>(p, real, "x");
       },
       "dosya boyu sınırı aşıldı"},
      {"the rename fails", SmallInput(), faulty(Fault::kRename), "yeniden adlandırılamadı"},
      {"a folder stands under the final name", SmallInput(),
       [&real](const Program& p) {
         std::filesystem::remove("xDizin.txt");
         std::filesystem::create_directory("xDizin.txt");
         WriteFileBytes("xDizin.txt/earlier", "earlier");
         return std::make_unique<ProgramRun>(p, real, "x");
       },
       "aynı adda bir klasör var"},
  };

  for (const WriteFault& f : faults) {
    for (const Program& p : kPrograms) {
      SCOPED_TRACE(std::string(p.name) + ": " + f.what);
      ScopedTempDir dir;
      WriteFileBytes("x.txt", f.input);
      for (const std::string& name : Outputs(p)) WriteFileBytes(name, "earlier " + name);
      std::unique_ptr<ProgramRun> run = f.run(p);
      // Everything as before the run: names, and the bytes of every file.
      std::map<std::string, std::string> after;
      for (const std::string& name : Names()) {
        if (std::filesystem::is_regular_file(name)) after[name] = ReadFileBytes(name);
      }
      std::map<std::string, std::string> before = {{"x.txt", f.input}};
      for (const std::string& name : Outputs(p)) before[name] = "earlier " + name;
      if (std::filesystem::is_directory("xDizin.txt")) {
        before.erase("xDizin.txt");
        EXPECT_EQ(ReadFileBytes("xDizin.txt/earlier"), "earlier");
      }
      EXPECT_EQ(after, before);
      EXPECT_EQ(Names().size(), Outputs(p).size() + 1);  // no temporary file

      const MemoryConsole& con = run->console;
      EXPECT_EQ(run->status, 0);
      EXPECT_EQ(run->From25(17), "Çıkış dosyası yazılamadı: xDizin.txt") << con.Dump();
      EXPECT_EQ(run->From25(18), std::string("(") + f.reason + ")");
      EXPECT_EQ(run->From25(19), "Önceki dosyalar olduğu gibi kaldı.");
      EXPECT_EQ(run->From25(21), "Çıkmak için her hangi bir tuşa basınız.");
      EXPECT_EQ(con.Foregrounds(17).substr(24, 36), std::string(36, '4'));
      EXPECT_EQ(con.Foregrounds(21).substr(24, 39), std::string(39, '4'));
    }
  }
}

TEST(WriteFaultTest, AnOutputNameTooLongForTheFileSystemIsShownWhole) {
  // 125 letters "ş": one byte each as typed, two in the file system's UTF-8.
  // The input's name (254 bytes) fits the 255-byte limit of a name there;
  // the output's ("...Dizin.txt", 259 bytes) does not, so its rename fails.
  std::string typed;
  for (int i = 0; i < 125; ++i) typed += "ş";
  for (const Program& p : kPrograms) {
    SCOPED_TRACE(p.name);
    ScopedTempDir dir;
    WriteFileBytes(typed + ".txt", "1 ev\r\n");
    RealFileSystem fs;
    ProgramRun run(p, fs, typed);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(Names(), std::set<std::string>{typed + ".txt"});
    // The message runs over three rows; the notes stand below it, whole.
    const std::string message = "Çıkış dosyası yazılamadı: " + typed + "Dizin.txt";
    std::string shown = run.From25(17);
    for (int row = 18; row <= 19; ++row) shown += run.console.Text(row);
    EXPECT_EQ(shown, message) << run.console.Dump();
    EXPECT_EQ(run.console.Text(20), std::string(24, ' ') + "(ad çok uzun)");
    EXPECT_EQ(run.From25(21), "Çıkmak için her hangi bir tuşa basınız.");
    EXPECT_EQ(run.console.Foregrounds(19).substr(0, 10), std::string(10, '4'));
  }
}

}  // namespace
}  // namespace kavinta
