#include "words/sort_key.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace kavinta {
namespace {

// Windows-1254 bytes used below:
//   ç E7  é E9  ğ F0  ı FD  ñ F1  ö F6  ş FE  ü FC
// A hex escape swallows every hex digit after it, so a letter before a
// hex-digit letter is written with kC and the like: kC + "ek".
const std::string kC = "\xE7";     // ç
const std::string kEnye = "\xF1";  // ñ

std::string EncodeWith(const std::string& s, const CodeTable& t) {
  uint8_t out[ByteString::kMax];
  int n = Encode(reinterpret_cast<const uint8_t*>(s.data()), static_cast<int>(s.size()), out, t);
  return std::string(reinterpret_cast<const char*>(out), static_cast<size_t>(n));
}

std::string DecodeWith(std::string s, const CodeTable& t) {
  int n = Decode(reinterpret_cast<uint8_t*>(s.data()), static_cast<int>(s.size()), t);
  s.resize(static_cast<size_t>(n));
  return s;
}

// Runs both entry points of each operation and insists that they agree.
std::string Encoded(const std::string& s, const CodeTable& t) {
  ByteString b(s);
  AYAR1(b, t);
  std::string raw = EncodeWith(s, t);
  EXPECT_EQ(b.str(), raw) << "AYAR1 and Encode differ on " << s;
  return raw;
}

std::string Decoded(const std::string& s, const CodeTable& t) {
  ByteString b(s);
  AYAR2(b, t);
  std::string raw = DecodeWith(s, t);
  EXPECT_EQ(b.str(), raw) << "AYAR2 and Decode differ on " << s;
  return raw;
}

bool ByteLess(const std::string& a, const std::string& b) {
  int c = std::memcmp(a.data(), b.data(), std::min(a.size(), b.size()));
  return c != 0 ? c < 0 : a.size() < b.size();
}

struct CodecCase {
  std::string word;
  std::string encoded;
  std::string decoded;  // of the encoded form
};

TEST(SortKeyTest, IndexEditionEncodesAndDecodes) {
  const std::string a254(254, 'a');
  const std::string a252(252, 'a');
  const CodecCase cases[] = {
      {kC + "i" + kC + "ek", "czzzziczzzzek", kC + "i" + kC + "ek"},  // çiçek
      {"gel-di", "gel@zzzzdi", "gel-di"},
      {"+-", "@yyyy@zzzz", "+-"},
      {"DN\xF1", "dzzzznzzz2nzzz1", "DN\xF1"},                                        // DNñ
      {"\xFDl\xFDk", "hzzzzlhzzzzk", "\xFDl\xFDk"},                                   // ılık
      {"\xE9\xF0\xF6\xFE\xFC", "ezzzzgzzzzozzzzszzzzuzzzz", "\xE9\xF0\xF6\xFE\xFC"},  // éğöşü
      {"a.b.", "a.b", "a.b"},  // trailing periods go
      {"...", "", ""},
      {".a", ".a", ".a"},  // a leading one stays
      {"", "", ""},
      // Codes spelled in plain letters pass the encoder and decode as letters.
      {"czzzz", "czzzz", "\xE7"},
      {"uzzzz", "uzzzz", "\xFC"},
      {"nzzz2", "nzzz2", "N"},
      {"xnzzz1y", "xnzzz1y", "x\xF1y"},
      {"czzz", "czzz", "czzz"},  // a 2.0a code is no 2.3 code
      // Cuts at 255 bytes, also inside a code; a cut code stays as it is.
      {a254 + "\xE7", a254 + "c", a254 + "c"},
      {a252 + "\xE7", a252 + "czz", a252 + "czz"},
      {"\xFC" + std::string(251, 'a') + "+", "uzzzz" + std::string(250, 'a'),
       "\xFC" + std::string(250, 'a')},
  };
  for (const CodecCase& c : cases) {
    std::string enc = Encoded(c.word, kCodes23);
    EXPECT_EQ(enc, c.encoded) << c.word;
    EXPECT_EQ(Decoded(enc, kCodes23), c.decoded) << c.word;
  }
}

TEST(SortKeyTest, FrequencyEditionEncodesAndDecodes) {
  const CodecCase cases[] = {
      {kC + "ay", "czzzay", kC + "ay"},  // çay
      {"\xF1", "nzzz", "\xF1"},          // ñ
      {"su-yu", "su@zzzyu", "su-yu"},
      {"1+1", "1@yyy1", "1+1"},
      {"\xFD\xFE\xFDk", "hzzzszzzhzzzk", "\xFD\xFE\xFDk"},  // ışık
      {"DN", "DN", "DN"},  // no rows for the capitals in this edition
      {"czzz", "czzz", "\xE7"},
      {"nzzz2", "nzzz2", kEnye + "2"},
  };
  for (const CodecCase& c : cases) {
    std::string enc = Encoded(c.word, kCodes20a);
    EXPECT_EQ(enc, c.encoded) << c.word;
    EXPECT_EQ(Decoded(enc, kCodes20a), c.decoded) << c.word;
  }
}

TEST(SortKeyTest, Ayar3DropsLeadingZeros) {
  const std::pair<std::string, std::string> cases[] = {
      {"0012", "12"}, {"0a", "a"},    {"000", "0"},       {"0", "0"},
      {"", ""},       {"100", "100"}, {"12a/3", "12a/3"},
  };
  for (const auto& [in, out] : cases) {
    ByteString s(in);
    AYAR3(s);
    EXPECT_EQ(s.str(), out) << in;
  }
}

// Each list is in ascending order of the extended alphabet; the encoded forms
// must be in ascending byte order.
void ExpectEncodedAscending(const std::vector<std::string>& words, const CodeTable& t) {
  for (size_t i = 0; i < words.size(); ++i) {
    for (size_t j = i + 1; j < words.size(); ++j) {
      EXPECT_TRUE(ByteLess(Encoded(words[i], t), Encoded(words[j], t)))
          << words[i] << " before " << words[j];
    }
  }
}

TEST(SortKeyTest, EncodedWordsSortInAlphabetOrder) {
  // (a )a .a /a 1a 9 +a -a a c ca cz ç ça d dz D Da e é h hz ı i n ny ñ N o ö z
  ExpectEncodedAscending(
      {"(a",   ")a",   ".a",     "/a", "1a",   "9", "+a", "-a",   "a",    "c", "ca",
       "cz",   "\xE7", kC + "a", "d",  "dz",   "D", "Da", "e",    "\xE9", "h", "hz",
       "\xFD", "i",    "n",      "ny", "\xF1", "N", "o",  "\xF6", "z"},
      kCodes23);
  ExpectEncodedAscending({"ev", "ev(", "ev.ler", "ev/x", "ev1", "ev+ler", "ev-", "eva"}, kCodes23);
  ExpectEncodedAscending({"huy", "\xFDl\xFDk", "iki"}, kCodes23);  // huy < ılık < iki
  // 1 + - c cz ç d h ı i n ñ o ö s ş u ü v
  ExpectEncodedAscending({"1", "+", "-", "c", "cz", "\xE7", "d", "h", "\xFD", "i", "n", "\xF1", "o",
                          "\xF6", "s", "\xFE", "u", "\xFC", "v"},
                         kCodes20a);
}

// Random words of an edition's alphabet come back unchanged, as long as they
// keep within 255 encoded bytes, do not end in a period, and hold no run
// "zzz" (which could spell a code in plain letters).
void ExpectRoundTrip(const std::string& alphabet, const CodeTable& t, uint32_t seed) {
  std::mt19937 rng(seed);
  std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
  std::uniform_int_distribution<int> length(1, 90);
  int checked = 0;
  while (checked < 3000) {
    std::string w;
    for (int n = length(rng); n > 0; --n) w.push_back(alphabet[pick(rng)]);
    int expanded = 0;
    for (char c : w)
      expanded += std::memchr(t.ek1, static_cast<uint8_t>(c), t.rows) ? t.code_len : 1;
    if (expanded > ByteString::kMax || w.back() == '.' || w.find("zzz") != std::string::npos) {
      continue;
    }
    std::string enc = Encoded(w, t);
    ASSERT_EQ(static_cast<int>(enc.size()), expanded) << w;
    for (char c : enc) {
      ASSERT_LT(static_cast<uint8_t>(c), 0x80) << "encoded " << w;
      ASSERT_EQ(std::memchr(t.ek1, static_cast<uint8_t>(c), t.rows), nullptr) << "encoded " << w;
    }
    ASSERT_EQ(Decoded(enc, t), w);
    ++checked;
  }
}

TEST(SortKeyTest, RandomWordsRoundTrip) {
  // Small z's and y's are over-represented so that near-codes turn up.
  ExpectRoundTrip(
      ".-+()/0123456789abcdDefghijklmnNopqrstuvwxyzzzyy\xE7\xE9\xF0\xFD\xF1\xF6\xFE\xFC", kCodes23,
      23);
  ExpectRoundTrip("+-0123456789abcdefghijklmnopqrstuvwxyzzzyy\xE7\xE9\xF0\xFD\xF1\xF6\xFE\xFC",
                  kCodes20a, 20);
}

}  // namespace
}  // namespace kavinta
