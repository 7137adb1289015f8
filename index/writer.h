// The index writer (DUZENLEME of the index edition): one pass over the sorted
// records writes three Windows-1254 files, every line ending in CR LF.
//
// DOSAD + "Dizin.txt", the index:
//   Dizin / (empty) / Sıra: a b c ç ... / (empty)
//   then per head:   head
//                    TAB first-byte "." mark suffix " " loc ", " loc ...
//                    TAB "[=" records-of-head "]"          (counts only)
//   then the totals: Toplam / Geçerli / Geçersiz kelime, Alt madde, Madde başı
// DOSAD + "Sorun.txt", the problem file: every invalid record as stored, an
//   empty line, "Geçersiz kelime:" and their number; removed when empty.
// "MBS.txt" (current folder), the head counts: head TAB records-of-head.
//
// A record is split at its first space into word and location; the word at
// its first "." (mark "+", the "." belongs to neither part) or first "-"
// (mark "-", the head keeps it) into head and suffix. A word that holds both
// signs or begins with one is invalid. Odd records keep the layout the
// algorithm gives them: a record without a space has an empty word and the
// whole record as its location; a record ending in its space has an empty
// location.
//
// The files go through an OutputSet: they replace the files of an earlier run
// only when all of them were written completely.
#pragma once

#include "console/run_state.h"

namespace kavinta {

/// Writes the three files from B[1..N] (sorted) and shows the write phase on
/// the working screen. B is left as it was.
void WriteIndex(RunState& state);

}  // namespace kavinta
