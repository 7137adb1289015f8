#include "console/terminal_frame.h"

#include <gtest/gtest.h>

#include <string>

#include "console/screen.h"

namespace kavinta {
namespace {

constexpr const char* kHide = "\x1b[?25l";
constexpr const char* kShow = "\x1b[?25h";

TEST(TerminalFrameTest, PcColoursMapToAnsi) {
  // PC order: black, blue, green, cyan, red, magenta, brown, light grey, then
  // the bright ones; ANSI order: black, red, green, yellow, blue, magenta,
  // cyan, white.
  const int foregrounds[16] = {30, 34, 32, 36, 31, 35, 33, 37, 90, 94, 92, 96, 91, 95, 93, 97};
  for (int pc = 0; pc < 16; ++pc) EXPECT_EQ(AnsiForeground(pc), foregrounds[pc]) << pc;
  const int backgrounds[8] = {40, 44, 42, 46, 41, 45, 43, 47};
  for (int pc = 0; pc < 8; ++pc) EXPECT_EQ(AnsiBackground(pc), backgrounds[pc]) << pc;
}

TEST(TerminalFrameTest, FirstFramePaintsEveryCellThenNothingIsLeft) {
  Screen screen(3, 2);
  screen.SetCursorVisible(false);
  Frame front(3, 2);
  EXPECT_EQ(RenderFrame(screen, front), std::string(kHide) + "\x1b[1;1H\x1b[37;40m   \x1b[2;1H   ");
  EXPECT_EQ(RenderFrame(screen, front), "");
}

TEST(TerminalFrameTest, ChangedCellsGoOutAsUtf8WithTheirColours) {
  Screen screen(10, 3);
  screen.SetCursorVisible(false);
  Frame front(10, 3);
  RenderFrame(screen, front);

  // The progress track's block, yellow on cyan, then a blue one beside it.
  screen.SetForeground(kYellow);
  screen.SetBackground(kCyan);
  screen.Move(4, 2);
  screen.Write("\xDF\xDF");
  screen.SetForeground(kBlue);
  screen.Write("\xDF");
  EXPECT_EQ(RenderFrame(screen, front), "\x1b[2;4H\x1b[93;46m▀▀\x1b[34;46m▀");

  // Same colours again: no colour sequence; a gap: a cursor move.
  screen.Move(1, 3);
  screen.Write("\x9F");
  screen.Move(3, 3);
  screen.Write("\x98");
  EXPECT_EQ(RenderFrame(screen, front), "\x1b[3;1Hş\x1b[3;3Hİ");

  // Rewriting a cell with what it holds changes nothing.
  screen.Move(1, 3);
  screen.Write("\x9F");
  EXPECT_EQ(RenderFrame(screen, front), "");
}

TEST(TerminalFrameTest, CursorIsHiddenWhilePaintingAndShownWhereTheScreenHasIt) {
  Screen screen(5, 2);
  Frame front(5, 2);
  // Visible cursor at (1, 1): painted with the cursor hidden, then moved back.
  EXPECT_EQ(RenderFrame(screen, front),
            std::string(kHide) + "\x1b[1;1H\x1b[37;40m     \x1b[2;1H     \x1b[1;1H" + kShow);
  screen.Move(3, 2);
  EXPECT_EQ(RenderFrame(screen, front), "\x1b[2;3H");
  screen.Write("a");
  // The cursor already stands at the changed cell.
  EXPECT_EQ(RenderFrame(screen, front), std::string(kHide) + "a" + kShow);
  screen.SetCursorVisible(false);
  EXPECT_EQ(RenderFrame(screen, front), kHide);
}

TEST(TerminalFrameTest, AfterTheLastColumnTheNextCellIsAddressed) {
  Screen screen(3, 2);
  screen.SetCursorVisible(false);
  Frame front(3, 2);
  RenderFrame(screen, front);
  screen.Move(3, 1);
  screen.Write("ab");  // wraps to (1, 2)
  EXPECT_EQ(RenderFrame(screen, front), "\x1b[1;3Ha\x1b[2;1Hb");
}

TEST(TerminalFrameTest, ControlBytesShowAsBlanks) {
  Screen screen(3, 1);
  screen.SetCursorVisible(false);
  Frame front(3, 1);
  RenderFrame(screen, front);
  screen.Move(1, 1);
  screen.Write(std::string("\0\x1b", 2));
  EXPECT_EQ(RenderFrame(screen, front), "\x1b[1;1H  ");
}

}  // namespace
}  // namespace kavinta
