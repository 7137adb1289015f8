#include "console/progress.h"

#include <gtest/gtest.h>

#include "console/memory_console.h"

namespace kavinta {
namespace {

TEST(ProgressTest, OffsetArithmetic) {
  struct Case {
    int64_t p, q;
    int offset;
  } cases[] = {
      {6, 7, 42},  // five characters and one line end of a 7-byte input
      {2, 1, 48},  // the sort's one cell for one record: 100, capped
      {1, 1, 48},  // the writer's one cell for one record: 50, capped
      {1, 51, 0},  // the writer's first cell is offset 0 only from 51 records on
      {1, 50, 1},
      {48, 50, 48},  // 0.96 reaches the last cell
      {47, 50, 47},
      {5'000'001, 5'000'000, 48},                // the sort's last position, N + 1
      {int64_t{3} << 30, int64_t{1} << 32, 37},  // inputs beyond 2 GiB do not overflow
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Progress::Offset(c.p, c.q), c.offset) << c.p << "/" << c.q;
  }
}

TEST(ProgressTest, TenRecordsDrawTheirTenCellsAndNoOthers) {
  MemoryConsole console;
  Progress progress(console);
  console.SetForeground(kYellow);
  progress.DrawTrack();
  console.SetForeground(kBlue);
  for (int i = 1; i <= 10; ++i) progress.Cell(i, 10);
  std::string want(80, '7');
  for (int c = 16; c <= 64; ++c) want[c - 1] = 'e';
  for (int off : {5, 10, 15, 20, 25, 30, 35, 40, 45, 48}) want[16 + off - 1] = '1';
  EXPECT_EQ(console.Foregrounds(17), want);
  // Nothing outside the track moved.
  EXPECT_EQ(console.Foregrounds(16), std::string(80, '7'));
  EXPECT_EQ(console.screen().at(65, 17).ch, ' ');
}

TEST(ProgressTest, UnknownSizeDrawsNothingAndRepeatedCellsAreRedrawnAfterOtherOutput) {
  MemoryConsole console;
  Progress progress(console);
  progress.Cell(5, 0);
  progress.Cell(5, -1);
  EXPECT_EQ(progress.last_offset(), -1);
  console.SetForeground(kBlue);
  progress.Cell(1, 1);
  EXPECT_EQ(console.screen().at(64, 17).fg, kBlue);
  // Something overwrote the cell; drawing the same offset again repairs it.
  console.MoveCursor(64, 17);
  console.Write("x");
  progress.Cell(1, 1);
  EXPECT_EQ(console.screen().at(64, 17).ch, 0xDF);
}

}  // namespace
}  // namespace kavinta
