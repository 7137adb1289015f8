// The screen model: a grid of cells holding code-page bytes and PC colours,
// a cursor and the current colours. Both consoles keep their screen here;
// the terminal converts cells to UTF-8 only when it presents them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kavinta {

/// PC text palette entries the screens use.
enum Colour : uint8_t {
  kBlack = 0,
  kBlue = 1,
  kCyan = 3,
  kRed = 4,
  kLightGrey = 7,
  kYellow = 14,
};

struct Cell {
  uint8_t ch = ' ';
  uint8_t fg = kLightGrey;
  uint8_t bg = kBlack;
  bool operator==(const Cell&) const = default;
};

class Screen {
 public:
  Screen(int cols, int rows);

  int cols() const { return cols_; }
  int rows() const { return rows_; }
  /// Cell at 1-based (col, row); both must be on the screen.
  const Cell& at(int col, int row) const { return cells_[Index(col, row)]; }

  int cursor_col() const { return col_; }
  int cursor_row() const { return row_; }
  bool cursor_visible() const { return cursor_visible_; }
  uint8_t fg() const { return fg_; }
  uint8_t bg() const { return bg_; }

  /// Every cell blank in the current colours; cursor to (1, 1).
  void Clear();
  /// A position outside the screen is ignored.
  void Move(int col, int row);
  void SetForeground(int fg) { fg_ = static_cast<uint8_t>(fg & 15); }
  void SetBackground(int bg) { bg_ = static_cast<uint8_t>(bg & 7); }
  /// Writes bytes at the cursor with the PC console's rules: 13 to column 1,
  /// 10 one row down, 8 one column left, 7 nothing, any other byte shown;
  /// wrapping past the last column and scrolling below the last row.
  void Write(std::string_view bytes);
  /// The cursor's row goes, the rows below move up, the bottom row is blank.
  void DeleteLine();
  void SetCursorVisible(bool on) { cursor_visible_ = on; }

  /// Row r's bytes (all columns).
  std::string RowBytes(int row) const;

 private:
  int Index(int col, int row) const { return (row - 1) * cols_ + (col - 1); }
  void LineFeed();
  void ScrollUp();

  int cols_, rows_;
  std::vector<Cell> cells_;
  int col_ = 1, row_ = 1;
  bool cursor_visible_ = true;
  uint8_t fg_ = kLightGrey, bg_ = kBlack;
};

}  // namespace kavinta
