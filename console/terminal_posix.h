// The console on a POSIX terminal: raw mode through termios, keys decoded
// from the bytes the terminal sends, and the screen model presented with
// ANSI sequences.
//
// Presenting is throttled: the reading phase changes the screen once per
// input line, millions of times for a large file, so a change presents only
// when the last frame is some tens of milliseconds old. Everything that
// waits (a key read, a delay, the closing wait's idling) and the end present
// first, so the screen is never stale while the user looks at it.
//
// When standard input is not a terminal, keys come from it as bytes, one per
// key; its end ends the input. Output always goes to standard output, also
// when that is a file (then without any terminal settings).
#pragma once

#include <chrono>
#include <deque>
#include <memory>
#include <string>

#include "console/console.h"
#include "console/key_decoder.h"
#include "console/terminal_frame.h"

namespace kavinta {

class TerminalConsole : public Console {
 public:
  /// A console over the given descriptors; the screen takes the terminal's
  /// size (80 by 25 when there is no terminal to ask). Raw mode is entered
  /// when in_fd is a terminal. Never fails.
  static std::unique_ptr<TerminalConsole> Open(int in_fd = 0, int out_fd = 1);
  ~TerminalConsole() override;

  int ReadKey() override;
  bool KeyPending() override;
  bool InputEnded() override;
  void Idle() override;
  void Delay(int ms) override;
  void Present() override;
  void Tick() override { Changed(); }
  /// Presents the last screen, then leaves the terminal usable: settings
  /// restored, colours reset, cursor shown on a fresh line below the screen's
  /// content. The screen stays visible. Runs once; later calls do nothing.
  void Finish() override;

 protected:
  void Changed() override;

 private:
  using Clock = std::chrono::steady_clock;

  TerminalConsole(int in_fd, int out_fd, int cols, int rows);
  static void FinishThunk(void* self);

  /// Ends the run when a signal has arrived (the cleanup calls Finish).
  void CheckInterrupt();
  /// Waits up to timeout_ms for input, reads what there is and decodes it.
  void Pump(int timeout_ms);
  void DecodePending();
  /// Milliseconds until bytes of an unfinished sequence count as paused.
  int PauseLeft() const;
  void WriteOut(const std::string& bytes);

  int in_fd_, out_fd_;
  bool in_is_terminal_;
  bool finished_ = false;
  bool input_ended_ = false;
  bool output_broken_ = false;
  Frame front_;
  Clock::time_point last_present_{};
  Clock::time_point last_input_{};
  std::string pending_;    ///< input bytes not yet decoded
  std::deque<int> reads_;  ///< decoded key reads not yet taken
};

}  // namespace kavinta
