// Plain renderings of the reading and coding rules, for the fuzz targets to
// hold the programs against: each follows its rule step by step on
// std::string, from the tables as the rules give them, with no care for
// speed. They share nothing with the programs' code but the code tables.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "words/sort_key.h"

namespace kavinta::reference {

inline std::string Code(const CodeTable& t, int row) { return std::string(t.ek2[row], t.code_len); }

inline std::string StripPeriods(std::string s) {
  while (!s.empty() && s.back() == '.') s.pop_back();
  return s;
}

/// AYAR1: trailing periods go; then, row by row, the leftmost occurrence of
/// the row's character is replaced by its code until there is none, the
/// string cut at 255 bytes after every replacement.
inline std::string Encode(std::string s, const CodeTable& t) {
  s = StripPeriods(std::move(s));
  for (int r = 0; r < t.rows; ++r) {
    for (size_t f; (f = s.find(static_cast<char>(t.ek1[r]))) != std::string::npos;) {
      s = s.substr(0, f) + Code(t, r) + s.substr(f + 1);
      if (s.size() > 255) s.resize(255);
    }
  }
  return s;
}

/// AYAR2: row by row, the leftmost occurrence of the row's code becomes its
/// character until there is none.
inline std::string Decode(std::string s, const CodeTable& t) {
  for (int r = 0; r < t.rows; ++r) {
    const std::string code = Code(t, r);
    for (size_t f; (f = s.find(code)) != std::string::npos;) {
      s.replace(f, code.size(), 1, static_cast<char>(t.ek1[r]));
    }
  }
  return s;
}

/// What a reading leaves: the records in input order, MEVCUT, and whether a
/// word was dropped because the list was full. Reading stops at the first
/// line start that finds the list full; to tell whether a word was lost, the
/// rest of the input is then read on (counting nothing) until one turns up.
struct Reading {
  std::vector<std::string> records;
  int64_t mevcut = 0;
  bool dropped = false;
};

/// The input as a text file: its end is the end of the bytes or the first
/// 0x1A; a line ends at LF, CR or CR LF, or at the end of the input.
class TextFile {
 public:
  explicit TextFile(std::string_view bytes) : in_(bytes) {}
  bool AtEnd() const { return pos_ >= in_.size() || in_[pos_] == '\x1A'; }
  bool AtLineEnd() const { return AtEnd() || in_[pos_] == '\r' || in_[pos_] == '\n'; }
  uint8_t Next() { return static_cast<uint8_t>(in_[pos_++]); }
  /// Passes the line end (nothing at the end of the input).
  void PassLineEnd() {
    if (AtEnd()) return;
    if (in_[pos_++] == '\r' && pos_ < in_.size() && in_[pos_] == '\n') ++pos_;
  }

 private:
  std::string_view in_;
  size_t pos_ = 0;
};

inline bool In(std::string_view set, uint8_t c) {
  return set.find(static_cast<char>(c)) != std::string_view::npos;
}

/// The index edition's reader: a line's location is its first token that a
/// separator follows and that does not encode to nothing; every later token
/// is a word stored as word, space, location, cut at 120 bytes.
inline Reading ReadIndex(std::string_view bytes, size_t capacity) {
  constexpr std::string_view kAllowed =
      ".-+()/1234567890abcdDefghijklmnNopqrstuvwxyz\t \xE2\xEE\xFB\xE7\xE9\xF0\xFD\xF1\xF6\xFE\xFC";
  constexpr std::string_view kLoweredR = "ABCEFGHJKLMOPQRSTUVWXYZ";
  constexpr std::string_view kFoldedG = "\xC2\xCE\xDD\xDB\xC7\xC9\xD0I\xD1\xD6\xDE\xDC";
  constexpr std::string_view kFoldedTo = "aiiu\xE7\xE9\xF0\xFD\xF1\xF6\xFE\xFC";
  Reading r;
  TextFile in(bytes);
  bool probing = false;
  while (!in.AtEnd() && !r.dropped) {
    probing = r.records.size() == capacity;
    std::string token, location;
    auto store = [&](const std::string& word) {
      if (word.empty()) return;
      if (r.records.size() < capacity) {
        r.records.push_back((word + " " + location).substr(0, 120));
      } else {
        r.dropped = true;
      }
    };
    while (!in.AtLineEnd()) {
      uint8_t q = in.Next();
      if (!probing) ++r.mevcut;
      // The pre-fold.
      if (q == '\t') q = ' ';
      if (q == 0xE2) q = 'a';
      if (q == 0xEE) q = 'i';
      if (q == 0xFB) q = 'u';
      if (q == ' ' && token.empty()) continue;
      // AYAR4.
      if (In(kLoweredR, q)) {
        q = static_cast<uint8_t>(q + 0x20);
      } else if (In(kFoldedG, q)) {
        q = static_cast<uint8_t>(kFoldedTo[kFoldedG.find(static_cast<char>(q))]);
      }
      if (!In(kAllowed, q)) continue;
      if (q == ' ' && location.empty()) {
        location = Encode(token, kCodes23);
        token.clear();
      } else if (q == ' ') {
        store(Encode(token, kCodes23));
        token.clear();
      } else if (token.size() < 255) {
        token.push_back(static_cast<char>(q));
      }
    }
    in.PassLineEnd();
    if (!probing) ++r.mevcut;
    if (!location.empty() && !token.empty()) store(Encode(token, kCodes23));
  }
  return r;
}

/// The frequency edition's reader: every token is a word, filtered before
/// it is folded, stored encoded and cut at 120 bytes.
inline Reading ReadFrequency(std::string_view bytes, size_t capacity) {
  constexpr std::string_view kG = "I\xC2\xC7\xD0\xDD\xCE\xD1\xD6\xDE\xDB\xDC\xC9\xE2\xEE\xFB";
  constexpr std::string_view kGTo =
      "\xFD"
      "a\xE7\xF0ii\xF1\xF6\xFEu\xFC\xE9"
      "aiu";
  constexpr std::string_view kR = "ABCDEFGHJKLMNOPQRSTUVWXYZ";
  const std::string allowed = std::string("+-1234567890abcdefghijklmnopqrstuvwxyz\t ") +
                              "\xE7\xE9\xF0\xFD\xF1\xF6\xFE\xFC" + std::string(kG) +
                              std::string(kR);
  Reading r;
  TextFile in(bytes);
  bool probing = false;
  while (!in.AtEnd() && !r.dropped) {
    probing = r.records.size() == capacity;
    std::string word;
    auto store = [&] {
      if (r.records.size() < capacity) {
        r.records.push_back(Encode(word, kCodes20a).substr(0, 120));
      } else {
        r.dropped = true;
      }
      word.clear();
    };
    while (!in.AtLineEnd()) {
      uint8_t q = in.Next();
      if (!probing) ++r.mevcut;
      if (!In(allowed, q)) continue;
      if (q == '\t') q = ' ';
      if (In(kG, q)) q = static_cast<uint8_t>(kGTo[kG.find(static_cast<char>(q))]);
      if (In(kR, q)) q = static_cast<uint8_t>(q + 0x20);
      if (q == ' ' && word.empty()) continue;
      if (q == ' ') {
        store();
      } else if (word.size() < 255) {
        word.push_back(static_cast<char>(q));
      }
    }
    in.PassLineEnd();
    if (!probing) ++r.mevcut;
    if (!word.empty()) store();
  }
  return r;
}

/// The index writer's three files.
struct IndexFiles {
  std::string index, problems, counts;
  int32_t invalid = 0;  ///< PT: the problem file is removed when 0
};

/// The index writer, step by step, over the sorted records.
inline IndexFiles WriteIndex(const std::vector<std::string>& records, bool with_counts) {
  const std::string crlf = "\r\n";
  IndexFiles f;
  std::string k, r, eskimadde;
  int32_t sayi = 0, pt = 0, ist1 = 0, ist2 = 0;
  f.index = "Dizin" + crlf + crlf +
            "S\xFDra: a b c \xE7 d D e \xE9 f g \xF0 h \xFD i j k l m n \xF1 N o \xF6 p q r s "
            "\xFE t u \xFC v w x y z" +
            crlf + crlf;
  auto count_line = [&](int32_t n) { f.index += "\t[=" + std::to_string(n) + "]" + crlf; };
  for (const std::string& stored : records) {
    const std::string rec = Decode(stored, kCodes23);
    std::string a, c, d, bas;
    const size_t space = rec.find(' ');
    if (space == std::string::npos) {
      c = rec;
    } else {
      a = rec.substr(0, space);
      c = rec.substr(space + 1);
    }
    while (c.size() > 1 && c[0] == '0') c.erase(0, 1);
    const size_t dot = a.find('.'), dash = a.find('-');
    if ((dot != std::string::npos && dash != std::string::npos) ||
        (!a.empty() && (a[0] == '.' || a[0] == '-'))) {
      ++pt;
      f.problems += rec + crlf;
      continue;
    }
    if (dot != std::string::npos) {
      d = a.substr(dot + 1);
      a = a.substr(0, dot);
    }
    if (dash != std::string::npos) {
      d = a.substr(dash + 1);
      a = a.substr(0, dash + 1);
    }
    if (dash != std::string::npos && !d.empty()) bas = "-";
    if (dot != std::string::npos && !d.empty()) bas = "+";
    const std::string sub = "\t" + a.substr(0, 1) + "." + bas + d + " " + c;
    if (a == k && d == r) {
      f.index += ", " + c;
      ++sayi;
    } else if (a == k) {
      f.index += crlf + sub;
      r = d;
      ++ist1, ++sayi;
    } else {
      if (sayi > 0) f.counts += eskimadde + "\t" + std::to_string(sayi) + crlf;
      if (with_counts) {
        if (sayi > 0) {
          f.index += crlf;
          count_line(sayi);
        }
      } else {
        f.index += crlf;
      }
      f.index += a + crlf + sub;
      sayi = 1;
      eskimadde = k = a;
      r = d;
      ++ist1, ++ist2;
    }
  }
  if (with_counts) {
    f.index += crlf;
    count_line(sayi);
  }
  const int32_t n = static_cast<int32_t>(records.size());
  f.index += crlf + crlf + "Toplam kelime:\t" + std::to_string(n) + crlf +
             "Ge\xE7"
             "erli kelime:\t" +
             std::to_string(n - pt) + crlf +
             "Ge\xE7"
             "ersiz kelime:\t" +
             std::to_string(pt) + crlf + "Alt madde:\t" + std::to_string(ist1) + crlf +
             "Madde ba\xFE\xFD:\t" + std::to_string(ist2) + crlf;
  f.problems += crlf +
                "Ge\xE7"
                "ersiz kelime:\t" +
                std::to_string(pt) + crlf;
  f.counts += eskimadde + "\t" + std::to_string(sayi) + crlf;
  f.invalid = pt;
  return f;
}

}  // namespace kavinta::reference
