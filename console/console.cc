#include "console/console.h"

#include "console/line_editor.h"

namespace kavinta {

void Console::ClearScreen() {
  screen_.Clear();
  Touch();
}

void Console::MoveCursor(int col, int row) {
  screen_.Move(col, row);
  Touch();
}

void Console::SetForeground(int fg) { screen_.SetForeground(fg); }

void Console::SetBackground(int bg) { screen_.SetBackground(bg); }

void Console::Write(std::string_view text) {
  screen_.Write(text);
  Touch();
}

void Console::WriteLine(std::string_view text) {
  screen_.Write(text);
  screen_.Write("\r\n");
  Touch();
}

void Console::DeleteLine() {
  screen_.DeleteLine();
  Touch();
}

void Console::CursorOn() {
  screen_.SetCursorVisible(true);
  Touch();
}

void Console::CursorOff() {
  screen_.SetCursorVisible(false);
  Touch();
}

std::string Console::ReadLine() {
  LineEditor editor;
  const int cols = screen_.cols();
  // Linear cell index of the line's first character; it moves up a row when
  // the echo scrolls the screen.
  int start = (screen_.cursor_row() - 1) * cols + (screen_.cursor_col() - 1);
  auto move_to = [&](int pos) {
    int lin = start + pos;
    if (lin >= 0) screen_.Move(lin % cols + 1, lin / cols + 1);
  };
  for (;;) {
    int key = ReadKey();
    bool extended = false;
    if (key == 0) {
      key = ReadKey();
      extended = true;
    }
    if (key == kNoMoreKeys) break;
    switch (editor.Feed(key, extended)) {
      case LineEditor::Action::kNone:
        continue;
      case LineEditor::Action::kInserted: {
        screen_.Write(std::string_view(&editor.text().back(), 1));
        int actual = (screen_.cursor_row() - 1) * cols + (screen_.cursor_col() - 1);
        start = actual - editor.pos();
        break;
      }
      case LineEditor::Action::kOverwrote:
        move_to(editor.pos() - 1);
        screen_.Write(std::string_view(&editor.text()[editor.pos() - 1], 1));
        move_to(editor.pos());
        break;
      case LineEditor::Action::kErased:
        move_to(editor.pos());
        screen_.Write(" ");
        move_to(editor.pos());
        break;
      case LineEditor::Action::kCleared:
        move_to(0);
        screen_.Write(std::string(editor.old_size(), ' '));
        move_to(0);
        break;
      case LineEditor::Action::kMoved:
        move_to(editor.pos());
        break;
      case LineEditor::Action::kDone:
        screen_.Write("\r\n");
        Touch();
        return editor.text();
    }
    Touch();
  }
  // The input ended: take the line as if Enter had been pressed.
  screen_.Write("\r\n");
  Touch();
  return editor.text();
}

}  // namespace kavinta
