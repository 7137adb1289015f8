#include "words/fold.h"

#include <array>
#include <string_view>

namespace kavinta {
namespace {

using Table = std::array<uint8_t, 256>;

struct Fold {
  uint8_t from;
  uint8_t to;
};

// The capitals that both editions fold by table rather than by the ASCII rule
// (the Turkish I and İ, and the capitals with marks).
constexpr Fold kCapitalTable[] = {
    {0xC2, 'a'},   // Â
    {0xCE, 'i'},   // Î
    {0xDD, 'i'},   // İ
    {0xDB, 'u'},   // Û
    {0xC7, 0xE7},  // Ç -> ç
    {0xC9, 0xE9},  // É -> é
    {0xD0, 0xF0},  // Ğ -> ğ
    {'I', 0xFD},   // I -> ı
    {0xD1, 0xF1},  // Ñ -> ñ
    {0xD6, 0xF6},  // Ö -> ö
    {0xDE, 0xFE},  // Ş -> ş
    {0xDC, 0xFC},  // Ü -> ü
};

// The small circumflex vowels; the index edition's reader folds them before
// anything else, the frequency edition's with its capitals.
constexpr Fold kCircumflexSmall[] = {
    {0xE2, 'a'},  // â
    {0xEE, 'i'},  // î
    {0xFB, 'u'},  // û
};

// Capitals lowered by adding 0x20. The index edition keeps D and N as letters
// of their own; the frequency edition lowers them too. I is never here: it
// folds to the dotless ı by table.
constexpr std::string_view kAsciiLowered23 = "ABCEFGHJKLMOPQRSTUVWXYZ";
constexpr std::string_view kAsciiLowered20a = "ABCDEFGHJKLMNOPQRSTUVWXYZ";

constexpr Table Identity() {
  Table t{};
  for (int c = 0; c < 256; ++c) t[c] = static_cast<uint8_t>(c);
  return t;
}

template <size_t N>
constexpr void Apply(Table& t, const Fold (&folds)[N]) {
  for (const Fold& f : folds) t[f.from] = f.to;
}

constexpr void LowerAscii(Table& t, std::string_view capitals) {
  for (char c : capitals) t[static_cast<uint8_t>(c)] = static_cast<uint8_t>(c + 0x20);
}

constexpr Table MakePreFold23() {
  Table t = Identity();
  t['\t'] = ' ';
  Apply(t, kCircumflexSmall);
  return t;
}

constexpr Table MakeAyar4() {
  Table t = Identity();
  LowerAscii(t, kAsciiLowered23);
  Apply(t, kCapitalTable);
  return t;
}

constexpr Table kPreFold23Table = MakePreFold23();
constexpr Table kAyar4Table = MakeAyar4();

constexpr Table MakeFold23() {
  Table t{};
  for (int c = 0; c < 256; ++c) t[c] = kAyar4Table[kPreFold23Table[c]];
  return t;
}

constexpr Table MakeFold20a() {
  Table t = Identity();
  t['\t'] = ' ';
  LowerAscii(t, kAsciiLowered20a);
  Apply(t, kCapitalTable);
  Apply(t, kCircumflexSmall);
  return t;
}

constexpr Table kFold23Table = MakeFold23();
constexpr Table kFold20aTable = MakeFold20a();

// Both folds are single lookups only because no result is folded again.
constexpr bool Idempotent(const Table& t) {
  for (int c = 0; c < 256; ++c) {
    if (t[t[c]] != t[c]) return false;
  }
  return true;
}
static_assert(Idempotent(kFold23Table));
static_assert(Idempotent(kFold20aTable));

}  // namespace

// The exported tables are plain arrays; spell out the 256 initializers from
// the generated tables.
#define KAVINTA_K4(t, i) t[i], t[i + 1], t[i + 2], t[i + 3]
#define KAVINTA_K16(t, i) \
  KAVINTA_K4(t, i), KAVINTA_K4(t, i + 4), KAVINTA_K4(t, i + 8), KAVINTA_K4(t, i + 12)
#define KAVINTA_K64(t, i) \
  KAVINTA_K16(t, i), KAVINTA_K16(t, i + 16), KAVINTA_K16(t, i + 32), KAVINTA_K16(t, i + 48)
#define KAVINTA_K256(t) \
  KAVINTA_K64(t, 0), KAVINTA_K64(t, 64), KAVINTA_K64(t, 128), KAVINTA_K64(t, 192)

constinit const uint8_t kFold23[256] = {KAVINTA_K256(kFold23Table)};
constinit const uint8_t kFold20a[256] = {KAVINTA_K256(kFold20aTable)};

#undef KAVINTA_K256
#undef KAVINTA_K64
#undef KAVINTA_K16
#undef KAVINTA_K4

uint8_t PreFold23(uint8_t c) { return kPreFold23Table[c]; }

void AYAR4(uint8_t& c) { c = kAyar4Table[c]; }

}  // namespace kavinta
