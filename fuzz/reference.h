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
/// word was dropped because the list was full.
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
  while (!in.AtEnd()) {
    if (r.records.size() == capacity) break;
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
      ++r.mevcut;
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
    ++r.mevcut;
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
  while (!in.AtEnd()) {
    if (r.records.size() == capacity) break;
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
      ++r.mevcut;
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
    ++r.mevcut;
    if (!word.empty()) store();
  }
  return r;
}

}  // namespace kavinta::reference
