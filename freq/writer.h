// The frequency list writer of kavinta20a (DUZENLEME of the frequency
// edition). File format of `DOSAD` + "Dizin.txt", Windows-1254, every line
// ending in CR LF:
//
//   <word> TAB <count>        one line per distinct word, in record order
//   (empty line)
//   Toplam kelime: TAB <N>    every word read, repeats included
//   Madde başı: TAB <lines>   the number of distinct words
//
// The sorted records are walked once; each is compared with the one before
// it, so every run of equal records becomes one line, and the run's word is
// decoded back from its record for that line. The file appears under its name only when it was
// written completely; until then an earlier list of that name stays as it was.
#pragma once

#include "console/run_state.h"

namespace kavinta {

/// Writes the frequency list of the sorted records 1..N (N >= 1) with the
/// screen steps of the write phase, ending in "İşlem bitti." or, when the
/// file could not be written, the failure in red.
void WriteFrequencyList(RunState& state);

}  // namespace kavinta
