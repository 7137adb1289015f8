// Arbitrary bytes from a terminal or a pipe through the key decoder, then as
// key reads into the line editor and the console's Read line.
//
// The first bytes choose the setting: where the bytes come from (terminal or
// stream), the size of the reads they arrive in, and the screen (the name
// prompt of an 80x25 screen, or any cursor position on a screen of 1-100
// columns and 1-30 rows). The properties:
//   - the decoder decides every byte once the input has paused, uses at least
//     one byte per decision and gives one read for a character (never 0) or
//     two for a key without one (0, then a scan code);
//   - the keys do not depend on how the bytes were cut into reads;
//   - the line editor keeps 0 <= position <= length <= 254, and each action it
//     reports is the change it made;
//   - Read line returns the line the editor holds, at most 254 characters;
//     while the line cannot scroll the screen, before every key the cursor
//     stands at the edit position and the screen shows exactly the line, with
//     blanks where erased characters stood.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "console/key_decoder.h"
#include "console/line_editor.h"
#include "console/memory_console.h"
#include "fuzz/fuzz_check.h"

namespace kavinta {
namespace {

/// The reads of bytes[0..n) decoded in one go, the input paused at its end.
std::vector<int> DecodeWhole(const uint8_t* bytes, int n, KeySource source) {
  std::vector<int> reads;
  int used = 0;
  while (used < n) {
    DecodedKey k = DecodeKey(bytes + used, n - used, source, /*paused=*/true);
    FUZZ_CHECK(k.status != DecodedKey::Status::kNeedMore);
    FUZZ_CHECK(k.length >= 1 && k.length <= n - used);
    if (k.status == DecodedKey::Status::kKey) {
      if (k.count == 1) {
        FUZZ_CHECK(k.reads[0] >= 1 && k.reads[0] <= 255);
      } else {
        FUZZ_CHECK(k.count == 2 && k.reads[0] == 0 && k.reads[1] >= 1 && k.reads[1] <= 255);
      }
      reads.insert(reads.end(), k.reads, k.reads + k.count);
    }
    used += k.length;
  }
  return reads;
}

/// The same bytes arriving in reads of `chunk` bytes, decoded as a terminal
/// console does: without a pause after each read, with one at the end.
std::vector<int> DecodeInChunks(const uint8_t* bytes, int n, KeySource source, int chunk) {
  std::vector<int> reads;
  std::vector<uint8_t> pending;
  for (int at = 0; at <= n; at += chunk) {
    pending.insert(pending.end(), bytes + at, bytes + std::min(n, at + chunk));
    const bool paused = at + chunk >= n;
    int used = 0;
    const int size = static_cast<int>(pending.size());
    while (used < size) {
      DecodedKey k = DecodeKey(pending.data() + used, size - used, source, paused);
      if (k.status == DecodedKey::Status::kNeedMore) break;
      reads.insert(reads.end(), k.reads, k.reads + k.count);
      used += k.length;
    }
    pending.erase(pending.begin(), pending.begin() + used);
    if (paused) break;
  }
  FUZZ_CHECK(pending.empty());
  return reads;
}

/// Feeds one key to the editor and checks that the action it reports is the
/// change it made. Returns the action.
LineEditor::Action FeedChecked(LineEditor& ed, int key, bool extended) {
  const std::string before = ed.text();
  const int pos = ed.pos();
  LineEditor::Action a = ed.Feed(key, extended);
  const std::string& after = ed.text();
  FUZZ_CHECK(ed.pos() >= 0 && ed.pos() <= static_cast<int>(after.size()));
  FUZZ_CHECK(after.size() <= static_cast<size_t>(kMaxLineChars));
  switch (a) {
    case LineEditor::Action::kNone:
    case LineEditor::Action::kDone:
      FUZZ_CHECK(after == before && ed.pos() == pos);
      break;
    case LineEditor::Action::kInserted:
      FUZZ_CHECK(after == before + static_cast<char>(key) && ed.pos() == pos + 1);
      break;
    case LineEditor::Action::kOverwrote:
      FUZZ_CHECK(after.size() == before.size() && ed.pos() == pos + 1);
      FUZZ_CHECK(static_cast<uint8_t>(after[pos]) == key);
      FUZZ_CHECK(after.substr(0, pos) == before.substr(0, pos));
      FUZZ_CHECK(after.substr(pos + 1) == before.substr(pos + 1));
      break;
    case LineEditor::Action::kErased:
      FUZZ_CHECK(after == before.substr(0, before.size() - 1));
      FUZZ_CHECK(pos == static_cast<int>(before.size()) && ed.pos() == pos - 1);
      break;
    case LineEditor::Action::kCleared:
      FUZZ_CHECK(after.empty() && ed.pos() == 0);
      FUZZ_CHECK(ed.old_size() == static_cast<int>(before.size()));
      break;
    case LineEditor::Action::kMoved:
      FUZZ_CHECK(after == before && ed.pos() != pos);
      break;
  }
  FUZZ_CHECK((a == LineEditor::Action::kDone) == (!extended && key == kKeyEnter));
  return a;
}

/// A console that, before handing out each key, checks the screen against
/// its own editor fed with the same keys.
class CheckingConsole : public MemoryConsole {
 public:
  CheckingConsole(int cols, int rows) : MemoryConsole(cols, rows) {}

  /// Call right before Read line starts.
  void Begin(bool can_scroll) {
    const Screen& s = screen();
    start_ = (s.cursor_row() - 1) * s.cols() + (s.cursor_col() - 1);
    check_screen_ = !can_scroll;
  }

  int ReadKey() override {
    if (check_screen_ && !done_) CheckScreen();
    int key = MemoryConsole::ReadKey();
    if (key == kNoMoreKeys || done_) return key;
    if (extended_next_) {
      extended_next_ = false;
      done_ = FeedChecked(mirror_, key, true) == LineEditor::Action::kDone;
    } else if (key == 0) {
      extended_next_ = true;
    } else {
      done_ = FeedChecked(mirror_, key, false) == LineEditor::Action::kDone;
    }
    return key;
  }

  const LineEditor& mirror() const { return mirror_; }

 private:
  void CheckScreen() {
    const Screen& s = screen();
    const int cursor = (s.cursor_row() - 1) * s.cols() + (s.cursor_col() - 1);
    FUZZ_CHECK(cursor == start_ + mirror_.pos());
    const std::string& text = mirror_.text();
    widest_ = std::max(widest_, static_cast<int>(text.size()));
    for (int i = 0; i < widest_; ++i) {
      const int lin = start_ + i;
      const uint8_t shown = s.at(lin % s.cols() + 1, lin / s.cols() + 1).ch;
      const uint8_t want = i < static_cast<int>(text.size()) ? static_cast<uint8_t>(text[i]) : ' ';
      FUZZ_CHECK(shown == want);
    }
  }

  LineEditor mirror_;
  int start_ = 0;
  int widest_ = 0;
  bool check_screen_ = false;
  bool extended_next_ = false;
  bool done_ = false;
};

}  // namespace
}  // namespace kavinta

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kavinta;
  if (size < 4) return 0;
  const uint8_t setting = data[0];
  const KeySource source = (setting & 1) ? KeySource::kTerminal : KeySource::kStream;
  const int chunk = 1 + ((setting >> 3) & 31);
  const bool small_screen = (setting & 6) == 6;
  const int cols = small_screen ? 1 + data[1] % 100 : 80;
  const int rows = small_screen ? 1 + data[2] % 30 : 25;
  const uint8_t* bytes = data + 4;
  const int n = static_cast<int>(std::min<size_t>(size - 4, 1 << 16));

  const std::vector<int> reads = DecodeWhole(bytes, n, source);
  FUZZ_CHECK(DecodeInChunks(bytes, n, source, chunk) == reads);

  // The line editor alone, key by key, through every Enter.
  LineEditor ed;
  for (size_t i = 0; i < reads.size(); ++i) {
    const bool extended = reads[i] == 0;
    if (extended && ++i == reads.size()) break;
    if (FeedChecked(ed, reads[i], extended) == LineEditor::Action::kDone) ed = LineEditor();
  }

  // Read line on the console, from the name prompt or from anywhere.
  CheckingConsole con(cols, rows);
  con.SetForeground(kYellow);
  con.SetBackground(kCyan);
  con.ClearScreen();
  if (small_screen) {
    con.MoveCursor(1 + data[3] % cols, 1 + (data[3] >> 4) % rows);
  } else if (setting & 4) {
    con.MoveCursor(1 + data[1] % 80, 1 + data[2] % 25);
  } else {
    con.MoveCursor(25, 11);
    con.Write("Giri\x9F dosyas\x8D: ");
  }
  const Screen& s = con.screen();
  const int start = (s.cursor_row() - 1) * s.cols() + (s.cursor_col() - 1);
  con.Begin(start + kMaxLineChars >= s.cols() * s.rows());
  for (int r : reads) {
    // Type() queues bytes; a read is a byte (0 included).
    const char c = static_cast<char>(r);
    con.Type(std::string_view(&c, 1));
  }
  const std::string line = con.ReadLine();
  FUZZ_CHECK(line.size() <= static_cast<size_t>(kMaxLineChars));
  FUZZ_CHECK(line == con.mirror().text());
  return 0;
}
