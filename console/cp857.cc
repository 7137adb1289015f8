#include "console/cp857.h"

namespace kavinta {
namespace {

// Code points of bytes 0x80-0xFF (0 where CP857 defines no character).
constexpr char16_t kHigh[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF,
    0x00EE, 0x0131, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x0130, 0x00D6, 0x00DC, 0x00F8, 0x00A3, 0x00D8, 0x015E, 0x015F, 0x00E1, 0x00ED, 0x00F3, 0x00FA,
    0x00F1, 0x00D1, 0x011E, 0x011F, 0x00BF, 0x00AE, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x00C1, 0x00C2, 0x00C0, 0x00A9, 0x2563, 0x2551, 0x2557,
    0x255D, 0x00A2, 0x00A5, 0x2510, 0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x00E3, 0x00C3,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x00A4, 0x00BA, 0x00AA, 0x00CA, 0x00CB,
    0x00C8, 0,      0x00CD, 0x00CE, 0x00CF, 0x2518, 0x250C, 0x2588, 0x2584, 0x00A6, 0x00CC, 0x2580,
    0x00D3, 0x00DF, 0x00D4, 0x00D2, 0x00F5, 0x00D5, 0x00B5, 0,      0x00D7, 0x00DA, 0x00DB, 0x00D9,
    0x00EC, 0x00FF, 0x00AF, 0x00B4, 0x00AD, 0x00B1, 0,      0x00BE, 0x00B6, 0x00A7, 0x00F7, 0x00B8,
    0x00B0, 0x00A8, 0x00B7, 0x00B9, 0x00B3, 0x00B2, 0x25A0, 0x00A0,
};

}  // namespace

char32_t Cp857ToUnicode(uint8_t b) {
  if (b < 0x20) return U' ';
  if (b < 0x7F) return b;
  if (b == 0x7F) return U'\u2302';
  char32_t cp = kHigh[b - 0x80];
  return cp ? cp : U'?';
}

int UnicodeToCp857(char32_t cp) {
  if (cp < 0x80) return static_cast<int>(cp);
  for (int i = 0; i < 128; ++i) {
    if (kHigh[i] == cp) return 0x80 + i;
  }
  return -1;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

std::string Cp857ToUtf8(std::string_view cp857) {
  std::string out;
  out.reserve(cp857.size() * 2);
  for (char c : cp857) AppendUtf8(out, Cp857ToUnicode(static_cast<uint8_t>(c)));
  return out;
}

std::string Cp857NameToUtf8(std::string_view cp857) {
  std::string out;
  out.reserve(cp857.size() * 2);
  for (char c : cp857) {
    uint8_t b = static_cast<uint8_t>(c);
    if (b < 0x80) {
      out.push_back(c);
    } else {
      AppendUtf8(out, Cp857ToUnicode(b));
    }
  }
  return out;
}

int DecodeUtf8(const uint8_t* s, int n, char32_t* cp) {
  if (n <= 0) return 0;
  uint8_t b = s[0];
  int len;
  char32_t v;
  if (b < 0x80) {
    *cp = b;
    return 1;
  } else if ((b & 0xE0) == 0xC0) {
    len = 2;
    v = b & 0x1F;
  } else if ((b & 0xF0) == 0xE0) {
    len = 3;
    v = b & 0x0F;
  } else if ((b & 0xF8) == 0xF0) {
    len = 4;
    v = b & 0x07;
  } else {
    return -1;
  }
  for (int i = 1; i < len; ++i) {
    if (i >= n) return 0;
    if ((s[i] & 0xC0) != 0x80) return -1;
    v = (v << 6) | (s[i] & 0x3F);
  }
  static constexpr char32_t kMin[5] = {0, 0, 0x80, 0x800, 0x10000};
  if (v < kMin[len] || v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF)) return -1;
  *cp = v;
  return len;
}

std::string Utf8ToCp857(std::string_view utf8) {
  std::string out;
  const auto* s = reinterpret_cast<const uint8_t*>(utf8.data());
  int n = static_cast<int>(utf8.size());
  for (int i = 0; i < n;) {
    char32_t cp;
    int len = DecodeUtf8(s + i, n - i, &cp);
    if (len <= 0) {
      ++i;
      continue;
    }
    i += len;
    int b = UnicodeToCp857(cp);
    if (b >= 0) out.push_back(static_cast<char>(b));
  }
  return out;
}

}  // namespace kavinta
