#include "console/line_editor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/console.h"
#include "console/memory_console.h"

namespace kavinta {
namespace {

using Action = LineEditor::Action;

// A key for the editor: a character, or a scan code after a 0 read.
struct Key {
  int code;
  bool extended = false;
};
Key Scan(int code) { return {code, true}; }

struct EditCase {
  const char* name;
  std::string typed_first;  // characters fed before `keys`
  std::vector<Key> keys;
  Action last;  // the action of the last key
  std::string text;
  int pos;
};

TEST(LineEditorTest, Operations) {
  const std::vector<EditCase> cases = {
      {"typing appends", "", {{'a'}, {'b'}}, Action::kInserted, "ab", 2},
      {"Turkish letters are bytes", "", {{0xA7}, {0x9F}}, Action::kInserted, "\xA7\x9F", 2},
      {"left moves", "abc", {Scan(kScanLeft)}, Action::kMoved, "abc", 2},
      {"left stops at the start", "a", {Scan(kScanLeft), Scan(kScanLeft)}, Action::kNone, "a", 0},
      {"right stops at the end", "ab", {Scan(kScanRight)}, Action::kNone, "ab", 2},
      {"home and end", "abc", {Scan(kScanHome), Scan(kScanEnd)}, Action::kMoved, "abc", 3},
      {"typing mid-line overwrites",
       "abc",
       {Scan(kScanLeft), Scan(kScanLeft), {'X'}},
       Action::kOverwrote,
       "aXc",
       2},
      {"overwriting the last character",
       "abc",
       {Scan(kScanLeft), {'X'}, {'Y'}},
       Action::kInserted,
       "abXY",
       4},
      {"backspace at the end erases", "abc", {{kKeyBackspace}}, Action::kErased, "ab", 2},
      {"backspace mid-line does nothing",
       "abc",
       {Scan(kScanLeft), {kKeyBackspace}},
       Action::kNone,
       "abc",
       2},
      {"backspace on an empty line", "", {{kKeyBackspace}}, Action::kNone, "", 0},
      {"esc clears", "abc", {Scan(kScanLeft), {kKeyEsc}}, Action::kCleared, "", 0},
      {"esc on an empty line", "", {{kKeyEsc}}, Action::kNone, "", 0},
      {"enter ends", "ab", {{kKeyEnter}}, Action::kDone, "ab", 2},
      {"control characters are ignored", "a", {{9}, {1}, {26}}, Action::kNone, "a", 1},
      // A scan code is no character: Up (72) is not "H", Delete (83) not "S".
      {"other keys are ignored",
       "ab",
       {Scan(kScanUp), Scan(kScanDelete), Scan(kScanF1)},
       Action::kNone,
       "ab",
       2},
  };
  for (const EditCase& c : cases) {
    SCOPED_TRACE(c.name);
    LineEditor editor;
    for (char ch : c.typed_first) {
      ASSERT_EQ(editor.Feed(static_cast<uint8_t>(ch), false), Action::kInserted);
    }
    Action last = Action::kNone;
    for (const Key& k : c.keys) last = editor.Feed(k.code, k.extended);
    EXPECT_EQ(last, c.last);
    EXPECT_EQ(editor.text(), c.text);
    EXPECT_EQ(editor.pos(), c.pos);
  }
}

TEST(LineEditorTest, HoldsAtMost254CharactersButOverwritesAtTheLimit) {
  LineEditor editor;
  for (int i = 0; i < kMaxLineChars; ++i) ASSERT_EQ(editor.Feed('a', false), Action::kInserted);
  EXPECT_EQ(editor.Feed('b', false), Action::kNone);
  EXPECT_EQ(editor.text(), std::string(254, 'a'));
  EXPECT_EQ(editor.Feed(kScanLeft, true), Action::kMoved);
  EXPECT_EQ(editor.Feed('z', false), Action::kOverwrote);
  EXPECT_EQ(editor.text(), std::string(253, 'a') + "z");
  EXPECT_EQ(editor.Feed(kKeyEsc, false), Action::kCleared);
  EXPECT_EQ(editor.old_size(), 254);
}

// Read line through the in-memory console: what it returns and what its echo
// leaves on the screen.
class ReadLineTest : public testing::Test {
 protected:
  ReadLineTest() {
    console.SetForeground(kYellow);
    console.SetBackground(kCyan);
    console.ClearScreen();
  }
  MemoryConsole console;
};

TEST_F(ReadLineTest, EchoesAtTheCursorAndEndsWithCrLf) {
  console.MoveCursor(40, 11);
  console.TypeText("gül\r");
  EXPECT_EQ(console.ReadLine(), "g\x81l");
  EXPECT_EQ(console.Text(11), std::string(39, ' ') + "gül");
  EXPECT_EQ(console.Foregrounds(11).substr(39, 3), "eee");
  EXPECT_EQ(console.Backgrounds(11).substr(39, 3), "333");
  EXPECT_EQ(console.screen().cursor_col(), 1);
  EXPECT_EQ(console.screen().cursor_row(), 12);
}

struct EchoCase {
  const char* name;
  std::vector<Key> keys;
  std::string result;  // UTF-8
  std::string row;     // row 5 after the line, UTF-8
};

TEST_F(ReadLineTest, EditsShowOnTheScreen) {
  auto text = [](const char* s) {
    std::vector<Key> keys;
    for (const char* p = s; *p; ++p) keys.push_back({static_cast<uint8_t>(*p)});
    return keys;
  };
  auto join = [](std::vector<std::vector<Key>> parts) {
    std::vector<Key> keys;
    for (auto& p : parts) keys.insert(keys.end(), p.begin(), p.end());
    return keys;
  };
  const std::vector<EchoCase> cases = {
      {"overwrite mid-line", join({text("abc"), {Scan(kScanLeft), Scan(kScanLeft)}, text("X\r")}),
       "aXc", "  aXc"},
      {"backspace at the end", join({text("abc"), {{kKeyBackspace}}, text("\r")}), "ab", "  ab"},
      {"backspace mid-line", join({text("abc"), {Scan(kScanLeft), {kKeyBackspace}}, text("\r")}),
       "abc", "  abc"},
      {"esc clears the echo", join({text("abcdef"), {{kKeyEsc}}, text("xy\r")}), "xy", "  xy"},
      {"home then type",
       join({text("abc"), {Scan(kScanHome)}, text("Z"), {Scan(kScanEnd)}, text("d\r")}), "Zbcd",
       "  Zbcd"},
  };
  for (const EchoCase& c : cases) {
    SCOPED_TRACE(c.name);
    console.ClearScreen();
    console.MoveCursor(3, 5);
    for (const Key& k : c.keys) {
      if (k.extended) {
        console.TypeScan(k.code);
      } else {
        console.Type(std::string(1, static_cast<char>(k.code)));
      }
    }
    EXPECT_EQ(console.ReadLine(), c.result);
    EXPECT_EQ(console.Text(5), c.row);
    EXPECT_EQ(console.keys_left(), 0u);
  }
}

TEST_F(ReadLineTest, TakesAtMost254CharactersWrappingOverRows) {
  console.MoveCursor(40, 11);
  console.Type(std::string(300, 'x') + "\r");
  EXPECT_EQ(console.ReadLine(), std::string(254, 'x'));
  // 41 cells on row 11, then 80 on each of rows 12 to 13, and 53 on row 14.
  EXPECT_EQ(console.Text(11), std::string(39, ' ') + std::string(41, 'x'));
  EXPECT_EQ(console.Text(13), std::string(80, 'x'));
  EXPECT_EQ(console.Text(14), std::string(53, 'x'));
  EXPECT_EQ(console.screen().cursor_row(), 15);
}

TEST_F(ReadLineTest, EditingFollowsTheLineWhenTheEchoScrolls) {
  // Starting two cells before the bottom-right corner, the third character
  // scrolls the screen: the line's start moves up a row with it.
  console.MoveCursor(79, 25);
  console.Type("abcde");
  console.Type("\x1b");
  console.Type("z");
  console.TypeScan(kScanLeft);
  console.Type("Y\r");
  EXPECT_EQ(console.ReadLine(), "Y");
  EXPECT_EQ(console.Text(24), std::string(78, ' ') + "Y");
  EXPECT_EQ(console.Text(25), "");
  EXPECT_EQ(console.screen().cursor_row(), 25);
  EXPECT_EQ(console.screen().cursor_col(), 1);
}

TEST_F(ReadLineTest, EndOfInputReturnsWhatTheLineHolds) {
  console.MoveCursor(10, 3);
  console.Type("ab");
  EXPECT_EQ(console.ReadLine(), "ab");
  EXPECT_EQ(console.Text(3), std::string(9, ' ') + "ab");
  EXPECT_EQ(console.screen().cursor_row(), 4);
  EXPECT_EQ(console.ReadLine(), "");
}

}  // namespace
}  // namespace kavinta
