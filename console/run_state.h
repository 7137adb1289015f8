// The state one run of either program shares between its phases: the typed
// name, the outcome flag, the count answer, the record list and the progress
// bar, with the console and the file system they work through. A test builds
// one over a MemoryConsole and runs a whole program sequence in-process.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "console/console.h"
#include "console/file_system.h"
#include "console/progress.h"
#include "words/record_list.h"

namespace kavinta {

/// HATA's values.
enum : int16_t {
  kGoOn = 0,
  kNoRecords = 1,
  kNotFound = 2,
  /// The input opened but could not be read to its end: nothing is sorted or
  /// written, and the screen says so.
  kReadError = 3,
  /// An open that failed for another reason than "not found"; the reader
  /// then reads nothing and ends with kNoRecords.
  kOpenFailed = 5,
};

struct RunState {
  RunState(Console& c, FileSystem& f, int32_t capacity = RecordList::kCapacity)
      : console(c), fs(f), B(capacity), progress(c) {}

  Console& console;
  FileSystem& fs;

  std::string DOSAD;  ///< the typed base name, CP857 bytes, at most 254
  int16_t HATA = kGoOn;
  uint8_t SAYIM = 0;   ///< index edition: 1 = write count lines
  RecordList B;        ///< the record list; N is B.size()
  Progress progress;   ///< SAHA and M
  int64_t MEVCUT = 0;  ///< reading progress: bytes read plus line ends passed
  int64_t BUYUK = -1;  ///< the input's size in bytes; -1 when unknown

  /// The input ran out during a question: the run ends at once.
  bool aborted = false;
  /// Words were dropped because the record list was full.
  bool capacity_reached = false;
  /// When not empty, the write phase failed: this CP857 text stands in red
  /// where "İşlem bitti." would stand.
  std::string failure;
  /// Further CP857 lines for the final screen (what the run skipped).
  std::vector<std::string> notes;

  int32_t N() const { return B.size(); }
};

}  // namespace kavinta
