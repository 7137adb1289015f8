#include "console/terminal_frame.h"

#include "console/cp857.h"

namespace kavinta {
namespace {

// PC colour order is black, blue, green, cyan, red, magenta, brown, light
// grey; ANSI swaps blue with red and cyan with brown (yellow).
constexpr int kAnsiOrder[8] = {0, 4, 2, 6, 1, 5, 3, 7};

// No screen cell holds colours above 15 and 7, so this never equals one.
constexpr Cell kUnknownCell = {0, 0xFF, 0xFF};

void AppendNumber(std::string& out, int v) { out += std::to_string(v); }

}  // namespace

Frame::Frame(int c, int r) : cols(c), rows(r), cells(static_cast<size_t>(c) * r, kUnknownCell) {}

int AnsiForeground(int pc) {
  pc &= 15;
  return pc < 8 ? 30 + kAnsiOrder[pc] : 90 + kAnsiOrder[pc - 8];
}

int AnsiBackground(int pc) { return 40 + kAnsiOrder[pc & 7]; }

void AppendMove(std::string& out, int col, int row) {
  out += "\x1b[";
  AppendNumber(out, row);
  out += ';';
  AppendNumber(out, col);
  out += 'H';
}

std::string RenderFrame(const Screen& back, Frame& front) {
  std::string out;
  auto hide_cursor = [&] {
    if (front.cursor_shown != 0) {
      out += "\x1b[?25l";
      front.cursor_shown = 0;
    }
  };
  for (int r = 1; r <= back.rows(); ++r) {
    for (int c = 1; c <= back.cols(); ++c) {
      const Cell& want = back.at(c, r);
      Cell& shown = front.cells[static_cast<size_t>(r - 1) * front.cols + (c - 1)];
      if (want == shown) continue;
      hide_cursor();
      if (front.col != c || front.row != r) AppendMove(out, c, r);
      if (front.fg != want.fg || front.bg != want.bg) {
        out += "\x1b[";
        AppendNumber(out, AnsiForeground(want.fg));
        out += ';';
        AppendNumber(out, AnsiBackground(want.bg));
        out += 'm';
        front.fg = want.fg;
        front.bg = want.bg;
      }
      AppendUtf8(out, Cp857ToUnicode(want.ch));
      shown = want;
      // After the last column the terminal waits to wrap; where its cursor
      // then stands differs between terminals, so it counts as unknown.
      front.col = c < back.cols() ? c + 1 : 0;
      front.row = c < back.cols() ? r : 0;
    }
  }
  if (back.cursor_visible()) {
    if (front.col != back.cursor_col() || front.row != back.cursor_row()) {
      AppendMove(out, back.cursor_col(), back.cursor_row());
      front.col = back.cursor_col();
      front.row = back.cursor_row();
    }
    if (front.cursor_shown != 1) {
      out += "\x1b[?25h";
      front.cursor_shown = 1;
    }
  } else {
    hide_cursor();
  }
  return out;
}

}  // namespace kavinta
