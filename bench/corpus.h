// Synthetic transcriptions for the benchmarks: deterministic, seeded text in
// Windows-1254 that looks like the programs' real inputs.
//
// Words are drawn from a fixed vocabulary of Turkish-looking word forms with
// a Zipf-like frequency (a few forms very common, a long tail of rare ones).
// Stems are built from syllables with the Turkish and transcription letters
// (ç ğ ı ö ş ü, rarely é ñ â î û); forms add suffixes, joined by "." or "-"
// in the index edition as its editors mark them. Some tokens are capitalised
// (I, İ, Ç, Ş, D, N and the rest), some carry punctuation , ; ' " ( ) ? !,
// separators are mostly spaces with some tabs and double spaces, and every
// line ends in CR LF.
//   index edition (2.3):     a location ("0012", or folio style "12a/3"), then
//                            5 to 15 words;
//   frequency edition (2.0a): 5 to 15 words.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace kavinta::bench {

enum class Edition { kIndex23, kFrequency20a };

struct CorpusOptions {
  Edition edition = Edition::kIndex23;
  int64_t words = 5'000'000;  ///< words, not counting locations
  uint64_t seed = 1;
};

namespace corpus_detail {

// splitmix64: the same stream on every platform and library.
class Rng {
 public:
  explicit Rng(uint64_t seed) : state_(seed) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  /// 0 <= result < n
  uint32_t Below(uint32_t n) { return static_cast<uint32_t>((Next() >> 32) * n >> 32); }
  /// true with probability per_mille / 1000
  bool Chance(uint32_t per_mille) { return Below(1000) < per_mille; }
  double Unit() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }

 private:
  uint64_t state_;
};

// Letters as Windows-1254 strings, so that a pick is a string of one byte.
inline const std::vector<std::string>& Consonants() {
  static const std::vector<std::string> v = {"b",    "c", "\xE7", "d", "f", "g", "h", "k", "k", "l",
                                             "l",    "m", "m",    "n", "n", "p", "r", "r", "s", "s",
                                             "\xFE", "t", "t",    "v", "y", "y", "z", "j"};
  return v;
}
inline const std::vector<std::string>& Vowels() {
  static const std::vector<std::string> v = {"a", "a", "a", "e", "e",    "e", "\xFD", "\xFD",
                                             "i", "i", "i", "o", "\xF6", "u", "u",    "\xFC"};
  return v;
}
// Transcription letters, rare: é ñ â î û, and the soft g inside a word.
inline const std::vector<std::string>& RareVowels() {
  static const std::vector<std::string> v = {"\xE9", "\xE2", "\xEE", "\xFB"};
  return v;
}

inline const std::vector<std::string>& Suffixes() {
  static const std::vector<std::string> v = {"ler",
                                             "lar",
                                             "de",
                                             "da",
                                             "den",
                                             "dan",
                                             "in",
                                             "\xFDn",
                                             "un",
                                             "\xFCn",
                                             "i",
                                             "\xFD",
                                             "u",
                                             "\xFC",
                                             "e",
                                             "a",
                                             "dir",
                                             "d\xFDr",
                                             "mi\xFE",
                                             "m\xFD\xFE",
                                             "yor",
                                             "acak",
                                             "ecek",
                                             "ken",
                                             "ki",
                                             "ce",
                                             "\xE7"
                                             "a",
                                             "lik",
                                             "l\xFDk",
                                             "siz",
                                             "s\xFDz",
                                             "li",
                                             "l\xFD",
                                             "di",
                                             "d\xFD",
                                             "du",
                                             "d\xFC",
                                             "ti",
                                             "t\xFD",
                                             "mek",
                                             "mak",
                                             "ile",
                                             "le",
                                             "la",
                                             "ya",
                                             "ye",
                                             "nin",
                                             "n\xFDn",
                                             "im",
                                             "\xFDm",
                                             "sin",
                                             "s\xFDn",
                                             "ler.i"};
  return v;
}

inline std::string Stem(Rng& rng) {
  std::string s;
  int syllables = 1 + static_cast<int>(rng.Below(3));
  for (int k = 0; k < syllables; ++k) {
    if (k > 0 || rng.Chance(750)) {
      if (k > 0 && rng.Chance(40)) {
        s += "\xF0";  // ğ, never at the start
      } else if (rng.Chance(8)) {
        s += "\xF1";  // ñ
      } else {
        s += Consonants()[rng.Below(static_cast<uint32_t>(Consonants().size()))];
      }
    }
    s += rng.Chance(25) ? RareVowels()[rng.Below(static_cast<uint32_t>(RareVowels().size()))]
                        : Vowels()[rng.Below(static_cast<uint32_t>(Vowels().size()))];
    if (rng.Chance(450)) s += Consonants()[rng.Below(static_cast<uint32_t>(Consonants().size()))];
  }
  return s;
}

inline std::string Form(Rng& rng, const std::vector<std::string>& stems, Edition edition) {
  // Common stems make many forms; the stem index is itself skewed.
  double u = rng.Unit();
  size_t stem = static_cast<size_t>(std::pow(u, 2.5) * static_cast<double>(stems.size()));
  std::string w = stems[std::min(stem, stems.size() - 1)];
  int suffixes = static_cast<int>(rng.Below(4));
  if (suffixes == 3 && rng.Chance(500)) suffixes = 0;
  for (int k = 0; k < suffixes; ++k) {
    if (edition == Edition::kIndex23) {
      uint32_t j = rng.Below(10);
      if (j < 6)
        w += '.';
      else if (j < 8)
        w += '-';
    } else if (rng.Chance(60)) {
      w += '-';
    }
    w += Suffixes()[rng.Below(static_cast<uint32_t>(Suffixes().size()))];
  }
  return w;
}

// Capitalises the first letter (or the whole word) by the Turkish rules.
inline void Capitalise(std::string& w, bool whole) {
  for (size_t k = 0; k < w.size() && (whole || k == 0); ++k) {
    uint8_t c = static_cast<uint8_t>(w[k]);
    uint8_t up = c;
    if (c >= 'a' && c <= 'z') up = c == 'i' ? 0xDD : static_cast<uint8_t>(c - 0x20);  // i -> İ
    if (c == 0xFD) up = 'I';                                                          // ı -> I
    if (c == 0xE7 || c == 0xF0 || c == 0xF6 || c == 0xFE || c == 0xFC || c == 0xF1 || c == 0xE9 ||
        c == 0xE2 || c == 0xEE || c == 0xFB) {
      up = static_cast<uint8_t>(c - 0x20);  // ç ğ ö ş ü ñ é â î û
    }
    w[k] = static_cast<char>(up);
  }
}

inline void AppendLocation(std::string& out, int64_t line) {
  char buf[32];
  // The location style changes by sections, as texts mix line and folio counts.
  if ((line / 2000) % 3 != 2) {
    std::snprintf(buf, sizeof buf, "%04lld", static_cast<long long>(line % 10000));
  } else {
    int64_t folio = line / 40 + 1;
    std::snprintf(buf, sizeof buf, "%lld%c/%lld", static_cast<long long>(folio % 1000),
                  (line / 20) % 2 == 0 ? 'a' : 'b', static_cast<long long>(line % 20 + 1));
  }
  out += buf;
}

}  // namespace corpus_detail

/// The whole corpus as one string of Windows-1254 bytes.
inline std::string GenerateCorpus(const CorpusOptions& options) {
  using namespace corpus_detail;
  Rng rng(options.seed);

  constexpr int kStems = 12'000;
  constexpr int kForms = 80'000;
  std::vector<std::string> stems;
  stems.reserve(kStems);
  for (int k = 0; k < kStems; ++k) stems.push_back(Stem(rng));
  std::vector<std::string> forms;
  forms.reserve(kForms);
  for (int k = 0; k < kForms; ++k) forms.push_back(Form(rng, stems, options.edition));

  // Zipf-Mandelbrot weights 1 / (rank + 2.7), drawn through the cumulative sum.
  std::vector<double> cumulative(kForms);
  double total = 0;
  for (int k = 0; k < kForms; ++k) cumulative[k] = total += 1.0 / (k + 2.7);

  std::string out;
  out.reserve(static_cast<size_t>(options.words) * 9);
  int64_t written = 0;
  int64_t line = 0;
  std::string w;
  while (written < options.words) {
    ++line;
    if (options.edition == Edition::kIndex23) {
      AppendLocation(out, line);
      out += rng.Chance(50) ? '\t' : ' ';
    }
    int64_t n = std::min<int64_t>(5 + rng.Below(11), options.words - written);
    for (int64_t k = 0; k < n; ++k) {
      double u = rng.Unit() * total;
      size_t rank = static_cast<size_t>(std::lower_bound(cumulative.begin(), cumulative.end(), u) -
                                        cumulative.begin());
      w = forms[std::min<size_t>(rank, kForms - 1)];
      if (rng.Chance(80)) Capitalise(w, /*whole=*/rng.Chance(60));
      if (rng.Chance(15)) {
        size_t at = std::min<size_t>(w.size(), 3 + rng.Below(5));
        w.insert(w.begin() + static_cast<std::ptrdiff_t>(at), '\'');  // ev'de
      }
      if (rng.Chance(20)) {
        bool paren = rng.Chance(500);
        w.insert(w.begin(), paren ? '(' : '"');
        w.push_back(paren ? ')' : '"');
      }
      if (rng.Chance(100)) w += ",;?!."[rng.Below(5)];
      out += w;
      if (k + 1 < n) {
        uint32_t sep = rng.Below(100);
        out += sep < 3 ? "\t" : sep < 5 ? "  " : " ";
      }
    }
    written += n;
    out += "\r\n";
  }
  return out;
}

}  // namespace kavinta::bench
