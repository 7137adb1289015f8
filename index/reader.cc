#include "index/reader.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "console/input_lines.h"
#include "words/fold.h"
#include "words/record_list.h"
#include "words/sort_key.h"

namespace kavinta {
namespace {

constexpr uint8_t kDropped = 0;
constexpr uint8_t kSeparator = ' ';

/// For every input byte: kDropped, kSeparator (space or tab), or the folded
/// character, which then lies above the space. The allowed set is tested
/// after folding, so a capital enters as its small letter and a letter whose
/// fold is not allowed (á, Ä, ...) is dropped.
struct ByteClasses {
  uint8_t of[256];
};

ByteClasses MakeByteClasses() {
  // The allowed characters D: the signs, digits, small letters with the
  // capitals D and N, tab, space, â î û and the Turkish and transcription
  // letters ç é ğ ı ñ ö ş ü (Windows-1254).
  constexpr std::string_view kAllowed =
      ".-+()/1234567890abcdDefghijklmnNopqrstuvwxyz\t \xE2\xEE\xFB\xE7\xE9\xF0\xFD\xF1\xF6\xFE\xFC";
  static_assert(kAllowed.size() == 57);
  bool allowed[256] = {};
  for (char c : kAllowed) allowed[static_cast<uint8_t>(c)] = true;
  ByteClasses t{};
  for (int b = 0; b < 256; ++b) {
    uint8_t f = kFold23[b];
    t.of[b] = allowed[f] ? f : kDropped;
  }
  return t;
}

// kFold23 is constant-initialized, so it is complete before this runs.
const ByteClasses kClasses = MakeByteClasses();

}  // namespace

void IndexLineSink::Byte(uint8_t q) {
  uint8_t c = kClasses.of[q];
  if (c > kSeparator) {
    // A byte appended to a full token is lost.
    if (token_len_ < ByteString::kMax) token_[token_len_++] = c;
  } else if (c == kSeparator) {
    // Separators at the line start and all but the first of a run give nothing.
    if (token_len_ > 0) TokenEnd();
  }
}

void IndexLineSink::TokenEnd() {
  if (location_len_ == 0) {
    // The location candidate: a token of periods only encodes to nothing,
    // and the next token is tried.
    location_len_ = Encode(token_, token_len_, location_, kCodes23);
  } else {
    StoreWord();
  }
  token_len_ = 0;
}

void IndexLineSink::LineEnd() {
  // The token that ends the line is a word only when the line has a location.
  if (location_len_ > 0 && token_len_ > 0) StoreWord();
  token_len_ = 0;
  location_len_ = 0;
}

void IndexLineSink::StoreWord() {
  int w = Encode(token_, token_len_, record_, kCodes23);
  if (w == 0) return;  // periods only
  int n = std::min(w + 1 + location_len_, RecordList::kMaxRecord);
  record_[w] = ' ';
  if (n > w + 1) std::memcpy(record_ + w + 1, location_, static_cast<size_t>(n - w - 1));
  if (!state_.B.Append(record_, n)) state_.capacity_reached = true;
}

bool ReadIndexInput(RunState& state, InputFile* input) {
  IndexLineSink sink(state);
  return ReadInputLines(state, input, sink);
}

}  // namespace kavinta
