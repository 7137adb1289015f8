// The word reader of the frequency edition (kavinta20a): every token of every
// line is a word. Each byte read goes through one table lookup that both
// filters and folds it:
//   - a byte outside the allowed set (periods, commas, apostrophes, brackets,
//     control bytes, letters with marks the edition does not know) is
//     dropped and neither ends a word nor enters it: "ev'de" gives "evde";
//   - a tab or a space ends the word being built;
//   - every other allowed byte is folded to its small letter (every capital,
//     D and N included; I to ı, İ to i, circumflex vowels to plain vowels)
//     and appended to the word, which is cut at 255 bytes.
// A finished word is encoded with the edition's code table and stored alone,
// cut at 120 bytes, as the next record.
#pragma once

#include <array>
#include <cstdint>

#include "console/file_system.h"
#include "console/run_state.h"
#include "words/byte_string.h"

namespace kavinta {

/// The lookup of the frequency edition: 0 for a byte that is dropped, a space
/// for a separator (tab or space), otherwise the folded byte.
extern const std::array<uint8_t, 256> kWordClass20a;

/// The per-character pipeline of the frequency edition, as the Sink of
/// ReadInputLines. Holds one word buffer; stores without allocating.
class FrequencyWordSink {
 public:
  explicit FrequencyWordSink(RunState& state) : state_(state) {}

  void Byte(uint8_t q) {
    uint8_t c = kWordClass20a[q];
    if (c > ' ') {
      if (len_ < ByteString::kMax) word_[len_++] = c;
    } else if (c == ' ' && len_ > 0) {
      Store();
    }
  }
  void LineEnd() {
    if (len_ > 0) Store();
  }

 private:
  /// Encodes the word, appends it as a record and empties the word.
  void Store();

  RunState& state_;
  int len_ = 0;
  uint8_t word_[ByteString::kMax];
};

/// The edition's reading loop: the input's lines through the pipeline above.
/// False when the input could not be read to its end.
bool ReadFrequencyWords(RunState& state, InputFile* input);

}  // namespace kavinta
