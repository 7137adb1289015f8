#include "console/progress.h"

namespace kavinta {

Progress::Progress(Console& console) : console_(console), saha_(kCells, kBlock) {}

void Progress::DrawTrack() {
  console_.MoveCursor(kTrackCol, kTrackRow);
  console_.Write(saha_);
}

int Progress::Offset(int64_t p, int64_t q) {
  int64_t m = p * 50 / q;
  if (m > 48) m = 48;
  if (m < 0) m = 0;
  return static_cast<int>(m);
}

void Progress::Cell(int64_t p, int64_t q) {
  if (q <= 0) return;
  int m = Offset(p, q);
  // Drawing the cell just drawn, with nothing drawn since, changes nothing;
  // the sort and the reader call this millions of times.
  if (m == m_ && console_.generation() == drawn_at_ && console_.screen().fg() == drawn_fg_) return;
  m_ = m;
  console_.MoveCursor(kTrackCol + m, kTrackRow);
  console_.Write(std::string_view(&kBlock, 1));
  drawn_at_ = console_.generation();
  drawn_fg_ = console_.screen().fg();
}

}  // namespace kavinta
