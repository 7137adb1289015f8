// Building the bytes that bring a terminal from what it shows to what the
// screen model holds. The terminal console keeps a Frame, the front grid of
// what the terminal shows, beside the Screen, the back grid the console
// operations change; RenderFrame compares the two and returns one frame's
// output: only the cells that differ, each as its CP857 byte's UTF-8 form, a
// colour sequence only where the colour changes, a cursor move only where a
// cell does not follow the last one written, and the cursor hidden while
// cells are painted.
#pragma once

#include <string>
#include <vector>

#include "console/screen.h"

namespace kavinta {

/// What the terminal shows, as far as we know it.
struct Frame {
  /// A frame that knows nothing of the terminal: the first render paints
  /// every cell and sets the colours and the cursor.
  Frame(int cols, int rows);

  int cols, rows;
  std::vector<Cell> cells;  ///< row by row; a cell nothing can equal where unknown
  int col = 0, row = 0;     ///< the terminal's cursor, 1-based; 0 when unknown
  int fg = -1, bg = -1;     ///< the PC colours last set; -1 when unknown
  int cursor_shown = -1;    ///< 1 shown, 0 hidden, -1 unknown
};

/// The ANSI SGR colour number for a PC foreground (0-15) or background (0-7).
int AnsiForeground(int pc);
int AnsiBackground(int pc);

/// The bytes that make the terminal show `back`; updates `front` to match.
/// Empty when the terminal already shows it. Both have the same size.
std::string RenderFrame(const Screen& back, Frame& front);

/// Appends a cursor move to 1-based (col, row).
void AppendMove(std::string& out, int col, int row);

}  // namespace kavinta
