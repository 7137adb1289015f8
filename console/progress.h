// The progress bar of the working screen: a track of 49 cells on row 17,
// columns 16 to 64, drawn empty at the start of a phase, filled cell by cell
// while it runs, and drawn full at its end.
#pragma once

#include <cstdint>
#include <string>

#include "console/console.h"

namespace kavinta {

class Progress {
 public:
  static constexpr int kTrackCol = 16;
  static constexpr int kTrackRow = 17;
  static constexpr int kCells = 49;
  /// The track cell: CP857 upper half block.
  static constexpr char kBlock = '\xDF';

  explicit Progress(Console& console);

  /// Draws the whole track at (16, 17) in the current colours.
  void DrawTrack();
  /// Draws the cell of p out of q: offset p * 50 div q, at most 48, in the
  /// current colours. Wide arithmetic, so no input size can overflow it; a
  /// q of 0 or less (an input whose size is unknown) draws nothing.
  void Cell(int64_t p, int64_t q);

  /// The offset of the last cell drawn (M), or -1 before the first.
  int last_offset() const { return m_; }
  /// The offset Cell(p, q) draws.
  static int Offset(int64_t p, int64_t q);

 private:
  Console& console_;
  std::string saha_;
  int m_ = -1;
  uint64_t drawn_at_ = 0;  // console generation right after the last cell
  uint8_t drawn_fg_ = 0;
};

}  // namespace kavinta
