// A signal that arrives while a long phase runs ends the run at once, on the
// terminal console the programs use: the status tells the signal (128 + 15),
// and no output file is put in place afterwards. The phases run in a child
// process (a death test) with the keys coming from a pipe; the file system
// sends SIGTERM itself at a chosen moment and aborts the child if the run
// reads or renames on after it.
#include "console/interrupt.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <memory>
#include <string>

#include "console/terminal_posix.h"
#include "tests/robust/robust_run.h"
#include "tests/test_util.h"

namespace kavinta {
namespace {

/// Passes everything to the real file system, but raises SIGTERM after the
/// first block of the input (or at the first write of an output file), and
/// aborts when the run goes on reading more than one more block, or renames
/// an output file, after that.
class SignallingFileSystem : public FileSystem {
 public:
  enum class When { kReading, kWriting };
  SignallingFileSystem(When when, bool size_known) : when_(when), size_known_(size_known) {}

  std::unique_ptr<InputFile> OpenRead(const std::string& name, OpenStatus* status) override {
    std::unique_ptr<InputFile> file = real_.OpenRead(name, status);
    if (!file) return file;
    return std::make_unique<Input>(std::move(file), when_ == When::kReading, size_known_);
  }
  std::unique_ptr<OutputFile> Create(const std::string& name, std::string* error) override {
    std::unique_ptr<OutputFile> file = real_.Create(name, error);
    if (!file) return file;
    return std::make_unique<Output>(std::move(file), when_ == When::kWriting);
  }
  bool Remove(const std::string& name) override { return real_.Remove(name); }
  bool SameFile(const std::string& a, const std::string& b) override {
    return real_.SameFile(a, b);
  }

 private:
  class Input : public InputFile {
   public:
    Input(std::unique_ptr<InputFile> inner, bool signal, bool size_known)
        : inner_(std::move(inner)), signal_(signal), size_known_(size_known) {}
    long Read(uint8_t* buf, size_t n) override {
      if (signal_ && ++reads_ > 2) std::abort();  // the signal was not heeded
      long got = inner_->Read(buf, n);
      if (signal_ && reads_ == 1) raise(SIGTERM);
      return got;
    }
    int64_t Size() override { return size_known_ ? inner_->Size() : -1; }

   private:
    std::unique_ptr<InputFile> inner_;
    bool signal_, size_known_;
    int reads_ = 0;
  };

  class Output : public OutputFile {
   public:
    Output(std::unique_ptr<OutputFile> inner, bool signal)
        : inner_(std::move(inner)), signal_(signal) {}
    void Write(const void* p, size_t n) override {
      if (signal_) raise(SIGTERM);
      inner_->Write(p, n);
    }
    bool Close() override { return inner_->Close(); }
    bool Commit() override {
      if (signal_) std::abort();  // a file put in place after the signal
      return inner_->Commit();
    }
    std::string error() const override { return inner_->error(); }

   private:
    std::unique_ptr<OutputFile> inner_;
    bool signal_;
  };

  RealFileSystem real_;
  When when_;
  bool size_known_;
};

/// Runs the reading, sorting and writing phases of `p` on a terminal console
/// whose keys come from a pipe (the name "x" and the count answer) and whose
/// screen goes nowhere. Does not return when the run is interrupted.
void RunPhases(const Program& p, FileSystem& fs) {
  InstallInterruptHandlers();
  int keys[2];
  if (pipe(keys) != 0) std::abort();
  const std::string typed = std::string("x\r") + p.answer;
  if (write(keys[1], typed.data(), typed.size()) != static_cast<ssize_t>(typed.size())) {
    std::abort();
  }
  close(keys[1]);
  std::unique_ptr<TerminalConsole> console =
      TerminalConsole::Open(keys[0], open("/dev/null", O_WRONLY));
  auto state = std::make_unique<RunState>(*console, fs);
  AYRISTIRMA(*p.edition, *state);
  if (state->HATA == kGoOn) {
    SIRALAMA(*state, 1, state->N());
    p.edition->write(*state);
  }
  console->Finish();
  std::exit(0);
}

class InterruptTest : public ::testing::Test {
 protected:
  void SetUp() override { GTEST_FLAG_SET(death_test_style, "fast"); }
};

TEST_F(InterruptTest, ASignalWhileReadingEndsTheRunBeforeTheNextBlock) {
  struct Case {
    const char* what;
    std::string input;
    bool size_known;
  } cases[] = {
      // One line: no progress cell moves until it ends.
      {"one 8 MB line", std::string(8 << 20, 'a'), true},
      // No size: no progress cell at all (a pipe, a device).
      {"an input of unknown size",
       [] {
         std::string lines;
         for (int i = 0; i < 1 << 20; ++i) lines += "1 ev su\n";
         return lines;
       }(),
       false},
  };
  for (const Case& c : cases) {
    for (const Program& p : kPrograms) {
      SCOPED_TRACE(std::string(p.name) + " reading " + c.what);
      ScopedTempDir dir;
      WriteFileBytes("x.txt", c.input);
      SignallingFileSystem fs(SignallingFileSystem::When::kReading, c.size_known);
      EXPECT_EXIT(RunPhases(p, fs), ::testing::ExitedWithCode(128 + SIGTERM), "");
      EXPECT_EQ(Names(), std::set<std::string>{"x.txt"});
    }
  }
}

TEST_F(InterruptTest, ASignalWhileWritingLeavesTheEarlierFilesAndNoTemporaryOnes) {
  // Enough distinct words for the files to be written in several pieces.
  std::string input;
  for (int i = 0; i < 100000; ++i) input += std::to_string(i) + " w" + std::to_string(i) + "\n";
  for (const Program& p : kPrograms) {
    SCOPED_TRACE(p.name);
    ScopedTempDir dir;
    WriteFileBytes("x.txt", input);
    std::set<std::string> names = {"x.txt", "xDizin.txt"};
    if (p.edition == &kIndexEdition) names.insert("MBS.txt");
    for (const std::string& name : names) {
      if (name != "x.txt") WriteFileBytes(name, "earlier");
    }
    SignallingFileSystem fs(SignallingFileSystem::When::kWriting, true);
    EXPECT_EXIT(RunPhases(p, fs), ::testing::ExitedWithCode(128 + SIGTERM), "");
    EXPECT_EQ(Names(), names);
    for (const std::string& name : names) {
      if (name != "x.txt") {
        EXPECT_EQ(ReadFileBytes(name), "earlier") << name;
      }
    }
  }
}

}  // namespace
}  // namespace kavinta
