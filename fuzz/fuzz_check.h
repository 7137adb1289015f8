// What the fuzz targets share: a check that stops the fuzzer with the
// broken property, and readers for the programs' text files (CR LF lines,
// "label TAB number" totals).
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace kavinta {

[[noreturn]] inline void FuzzFailure(const char* what, const char* file, int line) {
  std::fprintf(stderr, "\nproperty broken: %s (%s:%d)\n", what, file, line);
  std::abort();
}

/// Stops the fuzzer when a property does not hold; the input is saved as a crash.
#define FUZZ_CHECK(cond)                                            \
  do {                                                              \
    if (!(cond)) ::kavinta::FuzzFailure(#cond, __FILE__, __LINE__); \
  } while (0)

/// The lines of a text file whose every line ends with CR LF; a lone CR or
/// LF breaks the property.
inline std::vector<std::string> CrLfLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find("\r\n", at);
    FUZZ_CHECK(end != std::string_view::npos);  // the last line ends with CR LF too
    std::string_view line = text.substr(at, end - at);
    FUZZ_CHECK(line.find_first_of("\r\n") == std::string_view::npos);
    lines.emplace_back(line);
    at = end + 2;
  }
  return lines;
}

/// A number written as plain decimal digits: no sign, no leading zero.
inline int64_t PlainNumber(std::string_view s) {
  FUZZ_CHECK(!s.empty() && s.size() <= 10);
  FUZZ_CHECK(s == "0" || s[0] != '0');
  int64_t v = 0;
  for (char c : s) {
    FUZZ_CHECK(c >= '0' && c <= '9');
    v = v * 10 + (c - '0');
  }
  return v;
}

/// The number after the last tab of "text TAB number".
inline int64_t NumberAfterTab(std::string_view line) {
  size_t tab = line.rfind('\t');
  FUZZ_CHECK(tab != std::string_view::npos);
  return PlainNumber(line.substr(tab + 1));
}

/// The number of a totals line, which must begin with `label` and a tab.
inline int64_t Total(std::string_view line, std::string_view label) {
  FUZZ_CHECK(line.size() > label.size() && line.substr(0, label.size()) == label);
  FUZZ_CHECK(line[label.size()] == '\t');
  return PlainNumber(line.substr(label.size() + 1));
}

inline bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

inline size_t Occurrences(std::string_view s, std::string_view what) {
  size_t n = 0;
  for (size_t at = s.find(what); at != std::string_view::npos; at = s.find(what, at + 1)) ++n;
  return n;
}

}  // namespace kavinta
