// A console in memory for tests: the screen model, a scripted queue of key
// reads and a log of delays (a delay returns at once). Tests drive whole
// program runs through it and compare the screen row by row, with colours.
#pragma once

#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "console/console.h"

namespace kavinta {

class MemoryConsole : public Console {
 public:
  explicit MemoryConsole(int cols = 80, int rows = 25) : Console(cols, rows) {}

  /// Queues key reads: each byte is one read (0 then a scan code for keys
  /// without a character).
  void Type(std::string_view bytes);
  /// Queues the two reads of a key without a character.
  void TypeScan(int scan);
  /// Texts are given in UTF-8 and queued as CP857 bytes.
  void TypeText(std::string_view utf8);

  int ReadKey() override;
  bool KeyPending() override { return !keys_.empty(); }
  bool InputEnded() override { return keys_.empty(); }
  void Idle() override {}
  void Delay(int ms) override { delays_.push_back(ms); }

  const std::vector<int>& delays() const { return delays_; }
  size_t keys_left() const { return keys_.size(); }

  /// Row r as UTF-8 text with trailing blanks removed.
  std::string Text(int row) const;
  /// Row r's colours, one character per cell: the foreground as a hex digit.
  std::string Foregrounds(int row) const;
  /// Row r's backgrounds, one hex digit per cell.
  std::string Backgrounds(int row) const;
  /// The whole screen as text rows (for failure messages).
  std::string Dump() const;

 private:
  std::deque<int> keys_;
  std::vector<int> delays_;
};

}  // namespace kavinta
