// The terminal console over pipes (a scripted run) and over a pseudo-terminal
// (raw mode, type-ahead, escape sequences, the terminal left as it was).
#include "console/terminal_posix.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "console/interrupt.h"

namespace kavinta {
namespace {

struct Pipe {
  Pipe() { EXPECT_EQ(pipe(fd), 0); }
  ~Pipe() {
    CloseRead();
    CloseWrite();
  }
  void Send(const std::string& s) {
    ASSERT_EQ(write(fd[1], s.data(), s.size()), (ssize_t)s.size());
  }
  void CloseRead() {
    if (fd[0] >= 0) close(fd[0]);
    fd[0] = -1;
  }
  void CloseWrite() {
    if (fd[1] >= 0) close(fd[1]);
    fd[1] = -1;
  }
  int fd[2] = {-1, -1};
};

// Everything readable on fd now (the writer has written all it will).
std::string Drain(int fd) {
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
  std::string out;
  char buf[4096];
  for (;;) {
    ssize_t n = read(fd, buf, sizeof buf);
    if (n <= 0) break;
    out.append(buf, static_cast<size_t>(n));
  }
  return out;
}

bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

std::vector<int> ReadAll(Console& c) {
  std::vector<int> reads;
  for (int k; (k = c.ReadKey()) != kNoMoreKeys;) reads.push_back(k);
  return reads;
}

TEST(TerminalConsoleTest, KeysFromAPipeAreOneBytePerKeyUntilItEnds) {
  Pipe in, out;
  in.Send("ab\nğ\x1b[A\x7f");
  in.CloseWrite();
  auto console = TerminalConsole::Open(in.fd[0], out.fd[1]);
  EXPECT_EQ(console->screen().cols(), 80);
  EXPECT_EQ(console->screen().rows(), 25);
  EXPECT_FALSE(console->InputEnded());
  EXPECT_EQ(ReadAll(*console), (std::vector<int>{'a', 'b', 13, 0xA7, 27, '[', 'A', 8}));
  EXPECT_TRUE(console->InputEnded());
  EXPECT_FALSE(console->KeyPending());
  EXPECT_EQ(console->ReadKey(), kNoMoreKeys);
}

TEST(TerminalConsoleTest, KeyPendingKeepsTheKeyForReadKey) {
  Pipe in, out;
  auto console = TerminalConsole::Open(in.fd[0], out.fd[1]);
  EXPECT_FALSE(console->KeyPending());
  in.Send("x");
  EXPECT_TRUE(console->KeyPending());
  EXPECT_TRUE(console->KeyPending());
  EXPECT_EQ(console->ReadKey(), 'x');
  EXPECT_FALSE(console->KeyPending());
  EXPECT_FALSE(console->InputEnded());
  in.CloseWrite();
  EXPECT_FALSE(console->KeyPending());
  EXPECT_TRUE(console->InputEnded());
  console->Idle();  // returns although nothing can arrive
}

// At the end the colours are reset, the cursor shown, and the shell's prompt
// goes below the last row with content (a coloured background counts).
TEST(TerminalConsoleTest, FinishLeavesTheScreenAndPutsTheCursorBelowIt) {
  struct Case {
    const char* name;
    void (*draw)(Console&);
    std::string tail;
    bool shows_text;
  };
  const Case cases[] = {
      {"cyan screen",
       [](Console& c) {
         c.SetForeground(kYellow);
         c.SetBackground(kCyan);
         c.ClearScreen();
         c.MoveCursor(5, 3);
         c.Write("\x9Fu");
       },
       "\x1b[0m\x1b[25;1H\r\n\x1b[?25h", true},
      {"text on row 3",
       [](Console& c) {
         c.MoveCursor(5, 3);
         c.Write("\x9Fu");
       },
       "\x1b[0m\x1b[3;1H\r\n\x1b[?25h", true},
      {"empty screen", [](Console&) {}, "\x1b[0m\x1b[1;1H\x1b[?25h", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Pipe in, out;
    in.CloseWrite();
    auto console = TerminalConsole::Open(in.fd[0], out.fd[1]);
    c.draw(*console);
    console->Finish();
    console->Write("after the end");  // not presented any more
    console.reset();
    out.CloseWrite();
    std::string written = Drain(out.fd[0]);
    EXPECT_TRUE(EndsWith(written, c.tail)) << testing::PrintToString(written);
    EXPECT_EQ(written.find("after"), std::string::npos);
    EXPECT_EQ(written.find("şu") != std::string::npos, c.shows_text);
  }
}

struct Pty {
  Pty(int cols, int rows) {
    master = posix_openpt(O_RDWR | O_NOCTTY);
    EXPECT_GE(master, 0);
    EXPECT_EQ(grantpt(master), 0);
    EXPECT_EQ(unlockpt(master), 0);
    slave = open(ptsname(master), O_RDWR | O_NOCTTY);
    EXPECT_GE(slave, 0);
    winsize ws{};
    ws.ws_col = static_cast<unsigned short>(cols);
    ws.ws_row = static_cast<unsigned short>(rows);
    EXPECT_EQ(ioctl(slave, TIOCSWINSZ, &ws), 0);
  }
  ~Pty() {
    close(slave);
    close(master);
  }
  void Type(const std::string& s) {
    ASSERT_EQ(write(master, s.data(), s.size()), (ssize_t)s.size());
  }
  termios Settings() const {
    termios t{};
    EXPECT_EQ(tcgetattr(slave, &t), 0);
    return t;
  }
  int master = -1, slave = -1;
};

TEST(TerminalConsoleTest, OnATerminalRawModeKeepsTypeAheadAndIsUndoneAtTheEnd) {
  Pty pty(100, 30);
  const termios before = pty.Settings();
  pty.Type("q");  // typed before the program looked at the terminal
  auto console = TerminalConsole::Open(pty.slave, pty.slave);
  EXPECT_EQ(console->screen().cols(), 100);
  EXPECT_EQ(console->screen().rows(), 30);

  const termios raw = pty.Settings();
  EXPECT_FALSE(raw.c_lflag & (ECHO | ICANON));
  EXPECT_TRUE(raw.c_lflag & ISIG) << "Ctrl-C must still raise SIGINT";
  EXPECT_FALSE(raw.c_iflag & (ICRNL | IXON));

  // Waits boundedly so that a lost key fails the test instead of hanging it.
  for (int i = 0; i < 50 && !console->KeyPending(); ++i) console->Idle();
  ASSERT_TRUE(console->KeyPending()) << "the key typed ahead was lost";
  EXPECT_EQ(console->ReadKey(), 'q');
  pty.Type("\x1b[A\x1bOF\x1b[3~ç\r");
  EXPECT_EQ(console->ReadKey(), 0);
  EXPECT_EQ(console->ReadKey(), kScanUp);
  EXPECT_EQ(console->ReadKey(), 0);
  EXPECT_EQ(console->ReadKey(), kScanEnd);
  EXPECT_EQ(console->ReadKey(), 0);
  EXPECT_EQ(console->ReadKey(), kScanDelete);
  EXPECT_EQ(console->ReadKey(), 0x87);
  EXPECT_EQ(console->ReadKey(), kKeyEnter);
  pty.Type("\x1b");  // a lone Esc: decided when nothing follows
  EXPECT_EQ(console->ReadKey(), kKeyEsc);

  console->Write("\xDF");
  console->Finish();
  const termios after = pty.Settings();
  EXPECT_EQ(after.c_lflag, before.c_lflag);
  EXPECT_EQ(after.c_iflag, before.c_iflag);
  EXPECT_EQ(after.c_oflag, before.c_oflag);
  EXPECT_EQ(after.c_cflag, before.c_cflag);
  EXPECT_EQ(std::string(after.c_cc, after.c_cc + NCCS),
            std::string(before.c_cc, before.c_cc + NCCS));
  std::string shown = Drain(pty.master);
  EXPECT_NE(shown.find("▀"), std::string::npos);
  EXPECT_TRUE(EndsWith(shown, "\x1b[?25h")) << testing::PrintToString(shown);
}

// A signal ends the run from wherever the console is: the screen's cleanup
// runs (the last frame and the tail reach the output), registered temporary
// files go, and the exit status is 128 + the signal.
TEST(TerminalConsoleDeathTest, SignalEndsTheRunWhenTheScreenChangesOrWhileWaiting) {
  namespace fs = std::filesystem;
  const fs::path temp =
      fs::path(testing::TempDir()) / ("kavinta_console_" + std::to_string(getpid()) + ".tmp");
  struct Case {
    const char* name;
    int sig;
    void (*act)(Console&);
  };
  const Case cases[] = {
      {"screen change", SIGINT, [](Console& c) { c.Write("x"); }},
      {"key wait", SIGTERM,
       [](Console& c) {
         c.Write("x");
         c.ReadKey();
       }},
      {"delay", SIGHUP,
       [](Console& c) {
         c.Write("x");
         c.Delay(60000);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::ofstream(temp) << "half";
    Pipe in, out;
    EXPECT_EXIT(
        {
          InstallInterruptHandlers();
          auto console = TerminalConsole::Open(in.fd[0], out.fd[1]);
          RegisterTempFile(temp.string());
          // The signal comes from elsewhere while the console works or waits.
          std::thread sender([sig = c.sig] {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            kill(getpid(), sig);
          });
          sender.detach();
          if (c.sig == SIGINT) {
            while (!InterruptPending()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
          }
          c.act(*console);
          _exit(1);
        },
        testing::ExitedWithCode(128 + c.sig), "");
    EXPECT_FALSE(fs::exists(temp));
    out.CloseWrite();
    std::string written = Drain(out.fd[0]);
    EXPECT_NE(written.find('x'), std::string::npos);
    EXPECT_TRUE(EndsWith(written, "\x1b[?25h")) << testing::PrintToString(written);
  }
}

}  // namespace
}  // namespace kavinta
