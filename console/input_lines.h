// The reading loop both readers share: the input in large blocks, cut into
// lines at LF, CR or CR LF (LF CR is two line ends), ended by the end of the
// file or the first 0x1A; MEVCUT counts every byte read and one for every
// line end passed (also for a last line without one), and a progress cell
// is drawn after each line. Reading stops at a line start once the record
// list is full. The edition's per-character pipeline is the Sink:
//
//   struct Sink {
//     void Byte(uint8_t q);  // one byte of the current line
//     void LineEnd();        // the current line has ended
//   };
#pragma once

#include <cstdint>
#include <memory>

#include "console/file_system.h"
#include "console/run_state.h"

namespace kavinta {

/// Returns false when the input could not be read to its end. A null input
/// (one that failed to open) has no lines.
template <class Sink>
bool ReadInputLines(RunState& s, InputFile* input, Sink& sink) {
  if (!input) return true;
  constexpr size_t kBlock = 1 << 18;
  std::unique_ptr<uint8_t[]> block(new uint8_t[kBlock]);
  int64_t mevcut = s.MEVCUT;
  bool in_line = false;    // bytes of the current line have been read
  bool after_cr = false;   // the last byte ended a line with CR: an LF next is part of it
  bool need_check = true;  // at a line start: test the capacity first
  // Once the list is full, reading stops. The rest of the input then only
  // tells whether it held a word that was dropped (the sink's refused store
  // sets capacity_reached), so the final screen does not claim words were
  // lost when only blank or wordless lines followed. Nothing is counted or
  // drawn while probing.
  bool probing = false;
  auto end_line = [&] {
    in_line = false;
    need_check = true;
    if (probing) {
      sink.LineEnd();
      return;
    }
    ++mevcut;
    sink.LineEnd();
    s.MEVCUT = mevcut;
    s.progress.Cell(mevcut, s.BUYUK);
  };
  for (;;) {
    long got = input->Read(block.get(), kBlock);
    if (got < 0) {
      s.MEVCUT = mevcut;
      return probing;  // a read error after the list filled loses nothing
    }
    if (got == 0) break;
    // A line may span many blocks and an input of unknown size draws no
    // progress cell: without this the working screen could stay unshown and
    // a signal unheeded until the reading ends.
    s.console.Tick();
    const uint8_t* p = block.get();
    const uint8_t* end = p + got;
    if (after_cr) {
      after_cr = false;
      if (*p == '\n') ++p;
    }
    while (p < end) {
      if (need_check) {
        if (s.capacity_reached) break;
        if (s.B.full()) probing = true;
        need_check = false;
      }
      uint8_t q = *p++;
      if (q == '\n') {
        end_line();
      } else if (q == '\r') {
        end_line();
        if (p < end) {
          if (*p == '\n') ++p;
        } else {
          after_cr = true;
        }
      } else if (q == 0x1A) {
        // The end of the input: it ends the line it stands in; at a line
        // start there is no further line to pass.
        if (in_line) end_line();
        s.MEVCUT = mevcut;
        return true;
      } else {
        if (!probing) ++mevcut;
        in_line = true;
        sink.Byte(q);
      }
    }
    if (s.capacity_reached && need_check) break;
  }
  // The last line needs no line end; it is passed all the same.
  if (in_line) end_line();
  s.MEVCUT = mevcut;
  return true;
}

}  // namespace kavinta
