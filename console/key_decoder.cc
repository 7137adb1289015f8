#include "console/key_decoder.h"

#include <cstddef>

#include "console/console.h"
#include "console/cp857.h"

namespace kavinta {
namespace {

constexpr uint8_t kEscByte = 0x1B;

// A sequence longer than this without its final byte is garbage, not a key.
constexpr int kMaxSequence = 32;

// The PC scan codes of a key without a character: alone and with Shift, Ctrl
// or Alt, as the BIOS reports them for the grey keys of an enhanced keyboard.
struct ScanCodes {
  uint8_t plain, shift, ctrl, alt;
};

// clang-format off
enum NamedKey {
  kUp, kDown, kRight, kLeft, kHome, kEnd, kInsert, kDelete, kPageUp, kPageDown,
  kF1, kF2, kF3, kF4, kF5, kF6, kF7, kF8, kF9, kF10, kF11, kF12, kBackTab, kNoKey
};
// clang-format on

constexpr ScanCodes kScanCodes[] = {
    {72, 72, 141, 152},    // Up
    {80, 80, 145, 160},    // Down
    {77, 77, 116, 157},    // Right
    {75, 75, 115, 155},    // Left
    {71, 71, 119, 151},    // Home
    {79, 79, 117, 159},    // End
    {82, 82, 146, 162},    // Insert
    {83, 83, 147, 163},    // Delete
    {73, 73, 132, 153},    // Page Up
    {81, 81, 118, 161},    // Page Down
    {59, 84, 94, 104},     // F1
    {60, 85, 95, 105},     // F2
    {61, 86, 96, 106},     // F3
    {62, 87, 97, 107},     // F4
    {63, 88, 98, 108},     // F5
    {64, 89, 99, 109},     // F6
    {65, 90, 100, 110},    // F7
    {66, 91, 101, 111},    // F8
    {67, 92, 102, 112},    // F9
    {68, 93, 103, 113},    // F10
    {133, 135, 137, 139},  // F11
    {134, 136, 138, 140},  // F12
    {15, 15, 15, 15},      // Shift-Tab
};

DecodedKey Char(int code, int length) {
  DecodedKey k;
  k.status = DecodedKey::Status::kKey;
  k.length = length;
  k.count = 1;
  k.reads[0] = code;
  return k;
}

DecodedKey Skip(int length) {
  DecodedKey k;
  k.status = DecodedKey::Status::kSkip;
  k.length = length;
  return k;
}

DecodedKey NeedMore() { return DecodedKey{}; }

// xterm's modifier parameter is 1 plus a bit mask: Shift 1, Alt 2, Ctrl 4.
// A PC keyboard reports one modifier per key; Alt wins over Ctrl over Shift.
DecodedKey Named(NamedKey key, int modifier, int length) {
  if (key == kNoKey) return Skip(length);
  const ScanCodes& s = kScanCodes[key];
  int mask = modifier > 1 ? modifier - 1 : 0;
  DecodedKey k;
  k.status = DecodedKey::Status::kKey;
  k.length = length;
  k.count = 2;
  k.reads[1] = (mask & 2) ? s.alt : (mask & 4) ? s.ctrl : (mask & 1) ? s.shift : s.plain;
  return k;
}

// The keys of ESC [ ... x and ESC O x by their final byte x, and of
// ESC [ n ~ by n (rxvt's 7 and 8 are Home and End).
struct KeyBy {
  int code;
  NamedKey key;
};
constexpr KeyBy kByFinal[] = {
    {'A', kUp}, {'B', kDown}, {'C', kRight}, {'D', kLeft}, {'H', kHome},    {'F', kEnd},
    {'P', kF1}, {'Q', kF2},   {'R', kF3},    {'S', kF4},   {'Z', kBackTab},
};
constexpr KeyBy kByNumber[] = {
    {1, kHome}, {2, kInsert}, {3, kDelete}, {4, kEnd},  {5, kPageUp}, {6, kPageDown}, {7, kHome},
    {8, kEnd},  {11, kF1},    {12, kF2},    {13, kF3},  {14, kF4},    {15, kF5},      {17, kF6},
    {18, kF7},  {19, kF8},    {20, kF9},    {21, kF10}, {23, kF11},   {24, kF12},
};

template <size_t N>
NamedKey Find(const KeyBy (&table)[N], int code) {
  for (const KeyBy& k : table) {
    if (k.code == code) return k.key;
  }
  return kNoKey;
}

// ESC [ params intermediates final, or ESC O params final. `start` is the
// index of the first byte after the introducer.
DecodedKey DecodeSequence(const uint8_t* s, int n, int start, bool csi, bool paused) {
  int params[2] = {0, 0};
  int count = 0;  // parameters seen
  bool odd = false;
  int i = start;
  for (; i < n; ++i) {
    uint8_t b = s[i];
    if (b >= '0' && b <= '9') {
      if (count == 0) count = 1;
      if (count <= 2 && params[count - 1] < 1000) {
        params[count - 1] = params[count - 1] * 10 + (b - '0');
      }
    } else if (b == ';') {
      count = (count == 0 ? 1 : count) + 1;
    } else if (b >= 0x20 && b <= 0x3F) {
      odd = true;  // private markers and intermediates: no key of ours
    } else {
      break;
    }
    if (i + 1 >= kMaxSequence) return Skip(i + 1);
  }
  if (i == n) return paused ? Skip(n) : NeedMore();
  uint8_t final = s[i];
  if (final < 0x40 || final > 0x7E) return Skip(i);  // broken off by another byte
  int length = i + 1;
  if (odd || count > 2) return Skip(length);
  int modifier = count == 2 ? params[1] : 1;
  if (!csi) {
    // ESC O 2 A: old xterm put the modifier first.
    if (count == 1) modifier = params[0];
    if (final == 'M') return Char(kKeyEnter, length);  // keypad Enter
    return Named(Find(kByFinal, final), modifier, length);
  }
  if (final == '~') return Named(Find(kByNumber, count == 0 ? 0 : params[0]), modifier, length);
  return Named(Find(kByFinal, final), modifier, length);
}

DecodedKey DecodeEscape(const uint8_t* s, int n, bool paused) {
  if (n == 1) return paused ? Char(kKeyEsc, 1) : NeedMore();
  if (s[1] == 'O') return DecodeSequence(s, n, 2, /*csi=*/false, paused);
  if (s[1] != '[') return Char(kKeyEsc, 1);  // Esc, and the next byte is a key of its own
  // The Linux console's F1-F5: ESC [ [ A to ESC [ [ E.
  if (n >= 3 && s[2] == '[') {
    if (n == 3) return paused ? Skip(3) : NeedMore();
    if (s[3] >= 'A' && s[3] <= 'E') return Named(static_cast<NamedKey>(kF1 + (s[3] - 'A')), 1, 4);
    return Skip(s[3] >= 0x40 && s[3] <= 0x7E ? 4 : 3);
  }
  return DecodeSequence(s, n, 2, /*csi=*/true, paused);
}

DecodedKey DecodeCharacter(const uint8_t* s, int n, bool paused) {
  char32_t cp;
  int len = DecodeUtf8(s, n, &cp);
  if (len == 0) return paused ? Skip(n) : NeedMore();
  if (len < 0) return Skip(1);
  int b = UnicodeToCp857(cp);
  if (b < 0) return Skip(len);
  return Char(b, len);
}

}  // namespace

DecodedKey DecodeKey(const uint8_t* bytes, int n, KeySource source, bool paused) {
  if (n <= 0) return NeedMore();
  uint8_t b = bytes[0];
  switch (b) {
    case '\r':
    case '\n':
      return Char(kKeyEnter, 1);
    case 0x7F:
    case 0x08:
      return Char(kKeyBackspace, 1);
    case 0x00:
      return Skip(1);
    case kEscByte:
      if (source == KeySource::kStream) return Char(kKeyEsc, 1);
      return DecodeEscape(bytes, n, paused);
    default:
      break;
  }
  if (b < 0x80) return Char(b, 1);  // ASCII, and control keys such as Tab as they are
  return DecodeCharacter(bytes, n, paused);
}

}  // namespace kavinta
