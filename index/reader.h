// The reader of the index edition (AYRISTIRMA's reading loop): every input
// line starts with its location, and every later token of the line is a word
// that stands there. Each word becomes one record of B:
//
//   record = encoded word, one space, encoded location   (first 120 bytes)
//
// A byte goes through one table lookup that folds it (tab to space, â î û to
// a i u, capitals lowered, with D and N kept as letters of their own) and
// tells what it is: a separator, an allowed character, or a byte that is
// dropped as if it were not there. The location of a line is its first token
// that is followed by a separator and does not vanish when encoded (a token
// of periods only does); a token that ends the line is never a location.
// Nothing carries over from one line to the next.
#pragma once

#include <cstdint>

#include "console/file_system.h"
#include "console/run_state.h"
#include "words/byte_string.h"

namespace kavinta {

/// The per-character pipeline, as the Sink of ReadInputLines. Keeps one
/// token, one location and one record buffer; allocates nothing.
class IndexLineSink {
 public:
  explicit IndexLineSink(RunState& state) : state_(state) {}

  void Byte(uint8_t q);
  void LineEnd();

 private:
  /// A separator ended the token in token_.
  void TokenEnd();
  /// Encodes token_ and stores it as a word of the current location.
  void StoreWord();

  RunState& state_;
  int token_len_ = 0;     // ARACI
  int location_len_ = 0;  // C: the line's encoded location, 0 until it has one
  uint8_t token_[ByteString::kMax];
  uint8_t location_[ByteString::kMax];
  // The encoded word, the space and the location: at most 255 + 1 + 255.
  uint8_t record_[2 * ByteString::kMax + 1];
};

/// The index edition's reading loop over an opened input (null: nothing to
/// read). Returns false on a read error.
bool ReadIndexInput(RunState& state, InputFile* input);

}  // namespace kavinta
