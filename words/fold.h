// Letter folding: the byte-to-byte mappings that bring every input character
// to the letter under which a word is filed. Both editions' mappings are
// plain 256-entry tables (no result of a table is itself folded again), so
// folding is one lookup per byte and folding twice changes nothing.
#pragma once

#include <cstdint>

namespace kavinta {

/// Index edition (2.3): the reader's pre-fold (tab to space, â î û to a i u)
/// followed by AYAR4, composed into one table. Capital D and N stay.
extern const uint8_t kFold23[256];

/// The index edition's pre-fold alone: tab, â, î, û.
uint8_t PreFold23(uint8_t c);

/// AYAR4 of the index edition, in place: the capitals of R lowered by the
/// ASCII rule, the capitals of G folded by the Turkish table (I to ı, İ to i,
/// Â to a, ...). Every other byte stays.
void AYAR4(uint8_t& c);

/// Frequency edition (2.0a): every capital lowered (D and N included, I to ı,
/// İ to i), the circumflex vowels to plain vowels, a tab to a space.
extern const uint8_t kFold20a[256];

}  // namespace kavinta
