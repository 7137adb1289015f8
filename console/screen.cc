#include "console/screen.h"

#include <algorithm>

namespace kavinta {

Screen::Screen(int cols, int rows)
    : cols_(std::max(cols, 1)), rows_(std::max(rows, 1)), cells_(cols_ * rows_) {}

void Screen::Clear() {
  std::fill(cells_.begin(), cells_.end(), Cell{' ', fg_, bg_});
  col_ = row_ = 1;
}

void Screen::Move(int col, int row) {
  if (col < 1 || col > cols_ || row < 1 || row > rows_) return;
  col_ = col;
  row_ = row;
}

void Screen::ScrollUp() {
  std::move(cells_.begin() + cols_, cells_.end(), cells_.begin());
  std::fill(cells_.end() - cols_, cells_.end(), Cell{' ', fg_, bg_});
}

void Screen::LineFeed() {
  if (row_ < rows_) {
    ++row_;
  } else {
    ScrollUp();
  }
}

void Screen::Write(std::string_view bytes) {
  for (char c : bytes) {
    uint8_t b = static_cast<uint8_t>(c);
    switch (b) {
      case 13:
        col_ = 1;
        break;
      case 10:
        LineFeed();
        break;
      case 8:
        if (col_ > 1) --col_;
        break;
      case 7:
        break;
      default:
        cells_[Index(col_, row_)] = Cell{b, fg_, bg_};
        if (col_ < cols_) {
          ++col_;
        } else {
          col_ = 1;
          LineFeed();
        }
    }
  }
}

void Screen::DeleteLine() {
  auto first = cells_.begin() + Index(1, row_);
  std::move(first + cols_, cells_.end(), first);
  std::fill(cells_.end() - cols_, cells_.end(), Cell{' ', fg_, bg_});
}

std::string Screen::RowBytes(int row) const {
  std::string out;
  out.reserve(cols_);
  for (int c = 1; c <= cols_; ++c) out.push_back(static_cast<char>(at(c, row).ch));
  return out;
}

}  // namespace kavinta
