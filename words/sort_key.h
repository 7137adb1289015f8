// The sort-key codec.
//
// Records are sorted by plain unsigned byte order. In Windows-1254 that order
// is not the extended Turkish alphabet, so before a word or location is
// stored, AYAR1 replaces each character of the edition's code table by a
// short ASCII code that sorts where the character belongs:
//   - a letter's code is its base letter followed by bytes that sort after
//     every ordinary continuation ("ç" -> "czzzz" sorts after every "c..."
//     word and before "d"); ñ and N share "nzzz" and end in "1" and "2";
//   - "+" and "-" become "@yyyy" and "@zzzz": after the digits, before a.
// The index edition (2.3) has 12 codes of 5 bytes, with rows for the capitals
// D and N; the frequency edition (2.0a) 10 codes of 4 bytes.
//
// AYAR2 turns every occurrence of a code back into its character, also one
// that stood in the input in plain letters (the word "czzzz" decodes as "ç");
// a code cut short by a length limit is not a code and stays. AYAR3 strips the
// leading zeros of a location before the index shows it.
#pragma once

#include <cstdint>

#include "words/byte_string.h"

namespace kavinta {

/// One edition's code table: EK1 (the characters) and EK2 (their codes).
struct CodeTable {
  int rows;         ///< 12 (index edition) or 10 (frequency edition)
  int code_len;     ///< 5 or 4: every code of a table has this length
  uint8_t ek1[12];  ///< the characters, in row order
  char ek2[12][6];  ///< the codes, in row order
};

/// Index edition (kavinta23): + - ç D é ğ ı ñ N ö ş ü, 5-byte codes.
extern const CodeTable kCodes23;
/// Frequency edition (kavinta20a): + - ç é ğ ı ñ ö ş ü, 4-byte codes.
extern const CodeTable kCodes20a;

/// The encoder AYAR1, in place: strips trailing periods, then replaces every
/// table character by its code; the result is cut at 255 bytes (a cut may
/// fall inside a code). The result can be empty.
void AYAR1(ByteString& s, const CodeTable& t);

/// The decoder AYAR2, in place: replaces every occurrence of every code by
/// its character. Never lengthens the string.
void AYAR2(ByteString& s, const CodeTable& t);

/// AYAR3: drops leading "0" bytes while the string is longer than one byte.
void AYAR3(ByteString& s);

/// AYAR1 over raw bytes for the readers' hot path: encodes in[0..n) into out,
/// which has room for 255 bytes; returns the encoded length (at most 255).
/// `in` and `out` must not overlap.
int Encode(const uint8_t* in, int n, uint8_t* out, const CodeTable& t);

/// AYAR2 over raw bytes, in place; returns the decoded length (at most n).
int Decode(uint8_t* p, int n, const CodeTable& t);

}  // namespace kavinta
