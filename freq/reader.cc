#include "freq/reader.h"

#include <array>
#include <string_view>

#include "console/input_lines.h"
#include "words/fold.h"
#include "words/sort_key.h"

namespace kavinta {
namespace {

// The allowed characters of the frequency edition, as the edition lists them
// (Windows-1254 bytes): signs, digits and small letters, the separators, the
// Turkish and transcription small letters, then the letters folded by table
// and the capitals lowered by the ASCII rule.
constexpr std::string_view kAllowedGroups[] = {
    "+-1234567890abcdefghijklmnopqrstuvwxyz",
    "\t ",
    "\xE7\xE9\xF0\xFD\xF1\xF6\xFE\xFC",                           // ç é ğ ı ñ ö ş ü
    "I\xC2\xC7\xD0\xDD\xCE\xD1\xD6\xDE\xDB\xDC\xC9\xE2\xEE\xFB",  // I Â Ç Ğ İ Î Ñ Ö Ş Û Ü É â î û
    "ABCDEFGHJKLMNOPQRSTUVWXYZ",
};

constexpr std::array<bool, 256> MakeAllowed() {
  std::array<bool, 256> allowed{};
  for (std::string_view group : kAllowedGroups) {
    for (char c : group) allowed[static_cast<uint8_t>(c)] = true;
  }
  return allowed;
}

constexpr std::array<bool, 256> kAllowed = MakeAllowed();

constexpr int CountAllowed() {
  int n = 0;
  for (bool b : kAllowed) n += b ? 1 : 0;
  return n;
}
static_assert(CountAllowed() == 88);
// Byte 0 marks a dropped byte in the lookup, so it must not be allowed.
static_assert(!kAllowed[0]);

// The filter comes before the folding: a byte is dropped by what it is as
// read, and only an allowed byte is folded. The fold of this edition (every
// capital lowered, tab to space) is the shared table of words/.
std::array<uint8_t, 256> MakeWordClass() {
  std::array<uint8_t, 256> t{};
  for (int c = 0; c < 256; ++c) t[c] = kAllowed[c] ? kFold20a[c] : 0;
  return t;
}

}  // namespace

// Built at start-up from the constant fold table of words/ (constant-
// initialized, so it is ready before this runs).
const std::array<uint8_t, 256> kWordClass20a = MakeWordClass();

void FrequencyWordSink::Store() {
  uint8_t key[ByteString::kMax];
  int n = Encode(word_, len_, key, kCodes20a);
  len_ = 0;
  // A word that finds the list full is dropped; the final screen says so.
  if (!state_.B.Append(key, n)) state_.capacity_reached = true;
}

bool ReadFrequencyWords(RunState& state, InputFile* input) {
  FrequencyWordSink sink(state);
  return ReadInputLines(state, input, sink);
}

}  // namespace kavinta
