// The console the screens and the progress bar talk to: the ten operations of
// a PC text console (clear, move, colours, write, read line, read key, key
// pending, delay, delete line, cursor on/off). The screen operations work on
// a Screen model held here; an implementation supplies the keys, the delays
// and, for a real terminal, the presenting of changed cells.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "console/screen.h"

namespace kavinta {

/// PC key codes as Read key returns them. A key without a character arrives
/// as two reads: 0, then its scan code.
enum KeyCode : int {
  kKeyBackspace = 8,
  kKeyEnter = 13,
  kKeyEsc = 27,
  kScanF1 = 59,  // F1-F10: 59-68
  kScanHome = 71,
  kScanUp = 72,
  kScanPageUp = 73,
  kScanLeft = 75,
  kScanRight = 77,
  kScanEnd = 79,
  kScanDown = 80,
  kScanPageDown = 81,
  kScanDelete = 83,
};

/// Read key's answer when the input has ended (a script or pipe ran out).
constexpr int kNoMoreKeys = -1;

/// The longest line Read line accepts.
constexpr int kMaxLineChars = 254;

class Console {
 public:
  Console(int cols, int rows) : screen_(cols, rows) {}
  virtual ~Console() = default;
  Console(const Console&) = delete;
  Console& operator=(const Console&) = delete;

  // Screen operations; texts are code-page 857 bytes.
  void ClearScreen();
  void MoveCursor(int col, int row);
  void SetForeground(int fg);
  void SetBackground(int bg);
  void Write(std::string_view text);
  /// Writes the text followed by 13 10.
  void WriteLine(std::string_view text);
  void DeleteLine();
  void CursorOn();
  void CursorOff();

  /// The echoing line editor: at most 254 characters, Backspace at the end
  /// only, Left/Right/Home/End move and typing there overwrites, Esc clears,
  /// Enter writes 13 10 and returns the line. When the input ends, returns
  /// what it holds as if Enter had been pressed.
  std::string ReadLine();

  /// Waits for a key and returns its code (see KeyCode), or kNoMoreKeys.
  virtual int ReadKey() = 0;
  /// True at once if a key is pending; never waits.
  virtual bool KeyPending() = 0;
  /// True when no key can ever arrive again (a script or pipe has ended).
  virtual bool InputEnded() = 0;
  /// Waits a little (for the closing wait between Key pending polls) without
  /// spending processor time; returns early when input arrives.
  virtual void Idle() = 0;
  virtual void Delay(int ms) = 0;
  /// Shows the screen now (a terminal throttles presenting otherwise).
  virtual void Present() {}
  /// Called by a long phase between its reads while it may draw nothing for
  /// a long time (one huge line, an input of unknown size): a terminal shows
  /// a change it held back and ends the run when a signal has arrived.
  virtual void Tick() {}
  /// The run is over: a terminal is left usable; the screen stays as it is.
  virtual void Finish() {}

  const Screen& screen() const { return screen_; }
  /// Counts screen operations; the progress bar skips a cell that would
  /// change nothing because nothing was drawn since it was last drawn.
  uint64_t generation() const { return generation_; }

 protected:
  /// Called after every screen operation.
  virtual void Changed() {}

 private:
  void Touch() {
    ++generation_;
    Changed();
  }

  Screen screen_;
  uint64_t generation_ = 0;
};

}  // namespace kavinta
