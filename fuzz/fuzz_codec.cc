// The sort-key codec of both editions on arbitrary byte strings of up to 300
// bytes (a byte string holds the first 255). Each operation is compared
// with a plain rendering of its rule, row by row, leftmost occurrence first:
//   - AYAR1 (and the readers' Encode) equal the rule: trailing periods
//     stripped, each table character replaced by its code, cut at 255 bytes;
//   - AYAR2 (and the writers' Decode) equal the rule and never lengthen;
//   - decoding an encoded string gives the decoded string with its trailing
//     periods stripped, whenever the encoded form fits in 255 bytes;
//   - a word of the edition's alphabet that holds no code in plain letters
//     comes back unchanged (less its trailing periods) when it fits;
//   - AYAR3 strips leading zeros down to the last byte.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "fuzz/reference.h"
#include "words/byte_string.h"
#include "words/sort_key.h"

namespace kavinta {
namespace {

using reference::Code;
using reference::StripPeriods;

/// The length of the encoded form without the 255-byte cut.
size_t FullEncodedLength(const std::string& s, const CodeTable& t) {
  size_t n = 0;
  for (char c : StripPeriods(s)) {
    bool in_table = false;
    for (int r = 0; r < t.rows; ++r) in_table |= static_cast<uint8_t>(c) == t.ek1[r];
    n += in_table ? static_cast<size_t>(t.code_len) : 1;
  }
  return n;
}

bool HoldsCode(const std::string& s, const CodeTable& t) {
  for (int r = 0; r < t.rows; ++r) {
    if (s.find(Code(t, r)) != std::string::npos) return true;
  }
  return false;
}

std::string Encoded(const std::string& s, const CodeTable& t) {
  ByteString b(s);
  AYAR1(b, t);
  // The readers' raw form gives the same bytes.
  uint8_t raw[ByteString::kMax];
  int n = Encode(reinterpret_cast<const uint8_t*>(s.data()), static_cast<int>(s.size()), raw, t);
  FUZZ_CHECK(std::string_view(reinterpret_cast<char*>(raw), static_cast<size_t>(n)) == b.view());
  return b.str();
}

std::string Decoded(const std::string& s, const CodeTable& t) {
  ByteString b(s);
  AYAR2(b, t);
  std::string raw = s;
  int n = Decode(reinterpret_cast<uint8_t*>(raw.data()), static_cast<int>(raw.size()), t);
  FUZZ_CHECK(raw.substr(0, static_cast<size_t>(n)) == b.view());
  return b.str();
}

void CheckTable(const std::string& s, const CodeTable& t, std::string_view alphabet) {
  const std::string enc = Encoded(s, t);
  FUZZ_CHECK(enc.size() <= 255);
  FUZZ_CHECK(enc == reference::Encode(s, t));
  const std::string dec = Decoded(s, t);
  FUZZ_CHECK(dec.size() <= s.size());
  FUZZ_CHECK(dec == reference::Decode(s, t));

  const std::string back = Decoded(enc, t);
  FUZZ_CHECK(back.size() <= enc.size());
  if (FullEncodedLength(s, t) <= 255) FUZZ_CHECK(back == reference::Decode(StripPeriods(s), t));

  // The same bytes as a word of the edition's alphabet.
  std::string word;
  for (char c : s) word.push_back(alphabet[static_cast<uint8_t>(c) % alphabet.size()]);
  const std::string word_key = Encoded(word, t);
  if (FullEncodedLength(word, t) <= 255 && !HoldsCode(word, t)) {
    FUZZ_CHECK(Decoded(word_key, t) == StripPeriods(word));
  }
}

void CheckZeros(const std::string& s) {
  ByteString b(s);
  AYAR3(b);
  std::string rule = s;
  while (rule.size() > 1 && rule[0] == '0') rule.erase(0, 1);
  FUZZ_CHECK(b.view() == rule);
}

// The bytes a word holds after each edition's reader has folded and
// filtered it (Windows-1254).
constexpr std::string_view kAlphabet23 =
    ".-+()/0123456789abcdDefghijklmnNopqrstuvwxyz\xE7\xE9\xF0\xFD\xF1\xF6\xFE\xFC";
constexpr std::string_view kAlphabet20a =
    "+-0123456789abcdefghijklmnopqrstuvwxyz\xE7\xE9\xF0\xFD\xF1\xF6\xFE\xFC";

}  // namespace
}  // namespace kavinta

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kavinta;
  if (size > 300) return 0;
  // A byte string holds the first 255 bytes of a longer value.
  const std::string s(reinterpret_cast<const char*>(data), std::min<size_t>(size, 255));
  CheckTable(s, kCodes23, kAlphabet23);
  CheckTable(s, kCodes20a, kAlphabet20a);
  CheckZeros(s);
  return 0;
}
