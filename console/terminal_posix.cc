#include "console/terminal_posix.h"

#include <errno.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "console/cp857.h"
#include "console/interrupt.h"

namespace kavinta {
namespace {

// A change presents only when the last frame is at least this old.
constexpr auto kPresentInterval = std::chrono::milliseconds(40);
// An ESC followed by nothing for this long is the Esc key.
constexpr int kEscPauseMs = 50;
// The longest a wait sleeps before it looks at the interrupt flag again (a
// signal that arrives just before poll() starts does not wake it).
constexpr int kWaitSliceMs = 100;

// The terminal settings to put back, kept outside the console so that an
// exit that skips the destructor (std::exit from anywhere) still restores
// them.
struct SavedTerminal {
  int fd = -1;
  termios attrs{};
  bool active = false;
};
SavedTerminal g_saved;

void RestoreSaved() {
  if (!g_saved.active) return;
  g_saved.active = false;
  tcsetattr(g_saved.fd, TCSADRAIN, &g_saved.attrs);
}

void RestoreAtExit() {
  if (!g_saved.active) return;
  // Colours and cursor too: the console's own Finish did not run.
  static const char kReset[] = "\x1b[0m\x1b[?25h\r\n";
  ssize_t ignored = write(g_saved.fd, kReset, sizeof kReset - 1);
  (void)ignored;
  RestoreSaved();
}

// Raw input: no echo, no line editing, bytes as they come. ISIG stays on so
// that Ctrl-C raises SIGINT even while a long phase runs. Suspend (Ctrl-Z)
// and quit (Ctrl-\ ) are plain keys instead, as on the PC: a stopped or
// core-dumping run would leave the terminal raw. TCSANOW keeps the bytes typed ahead.
bool EnterRawMode(int fd) {
  termios attrs;
  if (tcgetattr(fd, &attrs) != 0) return false;
  termios raw = attrs;
  raw.c_iflag &= ~(BRKINT | ICRNL | INLCR | IGNCR | INPCK | ISTRIP | IXON);
  raw.c_cflag |= CS8;
  raw.c_lflag &= ~(ECHO | ICANON | IEXTEN);
  raw.c_cc[VSUSP] = _POSIX_VDISABLE;
  raw.c_cc[VQUIT] = _POSIX_VDISABLE;
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  if (tcsetattr(fd, TCSANOW, &raw) != 0) return false;
  static bool at_exit_registered = false;
  if (!at_exit_registered) {
    at_exit_registered = true;
    std::atexit(RestoreAtExit);
  }
  g_saved.fd = fd;
  g_saved.attrs = attrs;
  g_saved.active = true;
  return true;
}

// Sleeps without looking at any input; a signal cuts it short.
void Sleep(int ms) { poll(nullptr, 0, ms); }

// The last row a user would miss if the shell wrote over it: one with a
// character or a coloured background. 0 when the screen is empty.
int LastContentRow(const Screen& s) {
  for (int r = s.rows(); r >= 1; --r) {
    for (int c = 1; c <= s.cols(); ++c) {
      const Cell& cell = s.at(c, r);
      if (cell.bg != kBlack || Cp857ToUnicode(cell.ch) != U' ') return r;
    }
  }
  return 0;
}

}  // namespace

std::unique_ptr<TerminalConsole> TerminalConsole::Open(int in_fd, int out_fd) {
  int cols = 80, rows = 25;
  winsize ws{};
  if (isatty(out_fd) && ioctl(out_fd, TIOCGWINSZ, &ws) == 0 && ws.ws_col > 0 && ws.ws_row > 0) {
    cols = ws.ws_col;
    rows = ws.ws_row;
  }
  return std::unique_ptr<TerminalConsole>(new TerminalConsole(in_fd, out_fd, cols, rows));
}

TerminalConsole::TerminalConsole(int in_fd, int out_fd, int cols, int rows)
    : Console(cols, rows),
      in_fd_(in_fd),
      out_fd_(out_fd),
      in_is_terminal_(isatty(in_fd) && EnterRawMode(in_fd)),
      front_(screen().cols(), screen().rows()) {
  RegisterCleanup(FinishThunk, this);
}

TerminalConsole::~TerminalConsole() { Finish(); }

void TerminalConsole::FinishThunk(void* self) { static_cast<TerminalConsole*>(self)->Finish(); }

void TerminalConsole::CheckInterrupt() {
  if (InterruptPending()) ExitForInterrupt();
}

void TerminalConsole::Changed() {
  CheckInterrupt();
  if (Clock::now() - last_present_ >= kPresentInterval) Present();
}

void TerminalConsole::Present() {
  if (finished_) return;
  std::string frame = RenderFrame(screen(), front_);
  last_present_ = Clock::now();
  if (!frame.empty()) WriteOut(frame);
}

void TerminalConsole::WriteOut(const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size() && !output_broken_) {
    ssize_t n = write(out_fd_, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
    } else if (n < 0 && errno == EAGAIN) {
      pollfd p{out_fd_, POLLOUT, 0};
      poll(&p, 1, kWaitSliceMs);
    } else if (n < 0 && errno != EINTR) {
      output_broken_ = true;  // the terminal is gone; the run goes on unseen
    }
  }
}

int TerminalConsole::PauseLeft() const {
  auto quiet = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - last_input_);
  return std::max(0, kEscPauseMs - static_cast<int>(std::min<int64_t>(quiet.count(), kEscPauseMs)));
}

void TerminalConsole::Pump(int timeout_ms) {
  if (!input_ended_) {
    pollfd p{in_fd_, POLLIN, 0};
    int ready = poll(&p, 1, timeout_ms);
    if (ready < 0 && errno == EINTR) {
      CheckInterrupt();
    } else if (ready < 0) {
      input_ended_ = true;
    } else if (ready > 0) {
      char buf[1024];
      ssize_t n = read(in_fd_, buf, sizeof buf);
      if (n > 0) {
        pending_.append(buf, static_cast<size_t>(n));
        last_input_ = Clock::now();
      } else if (n == 0 || (errno != EINTR && errno != EAGAIN)) {
        input_ended_ = true;  // end of a pipe or file, or a terminal hung up
      }
    }
  }
  DecodePending();
}

void TerminalConsole::DecodePending() {
  const KeySource source = in_is_terminal_ ? KeySource::kTerminal : KeySource::kStream;
  const bool paused = input_ended_ || PauseLeft() == 0;
  const auto* bytes = reinterpret_cast<const uint8_t*>(pending_.data());
  const int size = static_cast<int>(pending_.size());
  int used = 0;
  while (used < size) {
    DecodedKey key = DecodeKey(bytes + used, size - used, source, paused);
    if (key.status == DecodedKey::Status::kNeedMore) break;
    for (int i = 0; i < key.count; ++i) reads_.push_back(key.reads[i]);
    used += key.length;
  }
  pending_.erase(0, static_cast<size_t>(used));
}

int TerminalConsole::ReadKey() {
  CheckInterrupt();
  Present();
  while (reads_.empty()) {
    if (input_ended_) {
      DecodePending();
      if (reads_.empty()) return kNoMoreKeys;
      break;
    }
    // An unfinished sequence waits only for the pause that decides it.
    Pump(pending_.empty() ? kWaitSliceMs : PauseLeft());
    CheckInterrupt();
  }
  int key = reads_.front();
  reads_.pop_front();
  return key;
}

bool TerminalConsole::KeyPending() {
  CheckInterrupt();
  if (Clock::now() - last_present_ >= kPresentInterval) Present();
  if (reads_.empty()) Pump(0);
  return !reads_.empty();
}

bool TerminalConsole::InputEnded() { return input_ended_ && pending_.empty() && reads_.empty(); }

void TerminalConsole::Idle() {
  CheckInterrupt();
  Present();
  if (!reads_.empty()) return;
  if (input_ended_) {
    Sleep(kWaitSliceMs);
  } else {
    pollfd p{in_fd_, POLLIN, 0};
    poll(&p, 1, pending_.empty() ? kWaitSliceMs : PauseLeft());
  }
  CheckInterrupt();
}

void TerminalConsole::Delay(int ms) {
  CheckInterrupt();
  Present();
  // Keys typed meanwhile stay with the terminal until the next read.
  const auto end = Clock::now() + std::chrono::milliseconds(ms);
  for (;;) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
    if (left <= 0) break;
    Sleep(static_cast<int>(std::min<int64_t>(left, kWaitSliceMs)));
    CheckInterrupt();
  }
  CheckInterrupt();
}

void TerminalConsole::Finish() {
  if (finished_) return;
  Present();
  finished_ = true;
  UnregisterCleanup(FinishThunk, this);
  // The shell's prompt goes on the line after the content; below the last
  // row the terminal scrolls the screen up one row to make room.
  std::string tail = "\x1b[0m";
  int last = LastContentRow(screen());
  if (last == 0) {
    AppendMove(tail, 1, 1);
  } else {
    AppendMove(tail, 1, last);
    tail += "\r\n";
  }
  tail += "\x1b[?25h";
  WriteOut(tail);
  if (in_is_terminal_ && g_saved.fd == in_fd_) RestoreSaved();
}

}  // namespace kavinta
