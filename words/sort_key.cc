#include "words/sort_key.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace kavinta {

constexpr CodeTable kCodes23 = {
    12,
    5,
    {'+', '-', 0xE7, 'D', 0xE9, 0xF0, 0xFD, 0xF1, 'N', 0xF6, 0xFE, 0xFC},
    {"@yyyy", "@zzzz", "czzzz", "dzzzz", "ezzzz", "gzzzz", "hzzzz", "nzzz1", "nzzz2", "ozzzz",
     "szzzz", "uzzzz"},
};

constexpr CodeTable kCodes20a = {
    10,
    4,
    {'+', '-', 0xE7, 0xE9, 0xF0, 0xFD, 0xF1, 0xF6, 0xFE, 0xFC},
    {"@yyy", "@zzz", "czzz", "ezzz", "gzzz", "hzzz", "nzzz", "ozzz", "szzz", "uzzz"},
};

namespace {

// Lookups derived from one code table.
struct TableIndex {
  // What the encoder writes for each byte: the byte itself or its code, in
  // the low bytes (first byte lowest), and the number of bytes in the top one.
  uint64_t replacement[256];
  // The rows whose code begins with the byte, as a bit set.
  uint16_t rows_of_first[256];
  // How many input bytes the encoder can take with whole 8-byte writes and
  // stay within the 255-byte output.
  int whole_writes;
};

constexpr int kLengthShift = 56;

constexpr TableIndex MakeIndex(const CodeTable& t) {
  TableIndex x{};
  x.whole_writes = (ByteString::kMax - 8) / (t.code_len > 1 ? t.code_len : 1);
  for (int c = 0; c < 256; ++c) x.replacement[c] = uint64_t{1} << kLengthShift | c;
  for (int r = 0; r < t.rows; ++r) {
    uint64_t code = uint64_t(t.code_len) << kLengthShift;
    for (int k = 0; k < t.code_len; ++k)
      code |= uint64_t{static_cast<uint8_t>(t.ek2[r][k])} << (8 * k);
    x.replacement[t.ek1[r]] = code;
    uint8_t first = static_cast<uint8_t>(t.ek2[r][0]);
    x.rows_of_first[first] = static_cast<uint16_t>(x.rows_of_first[first] | (1u << r));
  }
  return x;
}

constexpr TableIndex kIndex23 = MakeIndex(kCodes23);
constexpr TableIndex kIndex20a = MakeIndex(kCodes20a);

// The single left-to-right passes below give the results of the row-by-row
// replacements only because of these properties of the tables.
constexpr bool WellFormed(const CodeTable& t) {
  for (int r = 0; r < t.rows; ++r) {
    int len = 0;
    while (t.ek2[r][len] != 0) ++len;
    if (len != t.code_len) return false;  // every code has the table's length
    for (int k = 0; k < t.code_len; ++k) {
      uint8_t b = static_cast<uint8_t>(t.ek2[r][k]);
      for (int s = 0; s < t.rows; ++s) {
        if (b == t.ek1[s]) return false;  // encoding never creates a character
        // No code begins with a byte that continues a code: codes never overlap.
        if (k > 0 && b == static_cast<uint8_t>(t.ek2[s][0])) return false;
      }
    }
  }
  return true;
}
static_assert(WellFormed(kCodes23));
static_assert(WellFormed(kCodes20a));

// The two known tables have their lookups built at compile time; any other
// table (tests may make one) gets them built on the spot.
class IndexFor {
 public:
  explicit IndexFor(const CodeTable& t) {
    if (&t == &kCodes23) {
      index_ = &kIndex23;
    } else if (&t == &kCodes20a) {
      index_ = &kIndex20a;
    } else {
      local_ = MakeIndex(t);
      index_ = &local_;
    }
  }
  const TableIndex& operator*() const { return *index_; }

 private:
  const TableIndex* index_;
  TableIndex local_;
};

}  // namespace

int Encode(const uint8_t* in, int n, uint8_t* out, const CodeTable& t) {
  static_assert(std::endian::native == std::endian::little,
                "replacements are stored low byte first");
  while (n > 0 && in[n - 1] == '.') --n;
  IndexFor index(t);
  const uint64_t* replacement = (*index).replacement;
  constexpr int kMax = ByteString::kMax;
  int o = 0;
  int i = 0;
  // Every byte is stored as one 8-byte write, of which only its length
  // counts; the rest is overwritten by what follows or lies past the end.
  // Up to `whole_writes` input bytes every such write fits, so this loop
  // tests only i, which keeps its exit cheap to foresee.
  const int safe = std::min(n, (*index).whole_writes);
  for (; i < safe; ++i) {
    uint64_t r = replacement[in[i]];
    std::memcpy(out + o, &r, sizeof r);
    o += static_cast<int>(r >> kLengthShift);
  }
  // Near the limit, only what fits; a code that crosses it is cut inside.
  for (; i < n && o < kMax; ++i) {
    uint64_t r = replacement[in[i]];
    int len = std::min(static_cast<int>(r >> kLengthShift), kMax - o);
    for (int k = 0; k < len; ++k) out[o++] = static_cast<uint8_t>(r >> (8 * k));
  }
  return o;
}

int Decode(uint8_t* p, int n, const CodeTable& t) {
  IndexFor index(t);
  const uint16_t* rows_of_first = (*index).rows_of_first;
  const int code_len = t.code_len;
  int o = 0;
  int i = 0;
  // Codes never overlap, so the leftmost match at each position is the one
  // the row-by-row replacement would find; the output never overtakes the
  // input, which makes the pass safe in place.
  while (i < n) {
    uint8_t c = p[i];
    unsigned rows = rows_of_first[c];
    if (rows != 0 && i + code_len <= n) {
      for (int r = 0; rows != 0; ++r, rows >>= 1) {
        if ((rows & 1) != 0 && std::memcmp(p + i, t.ek2[r], static_cast<size_t>(code_len)) == 0) {
          c = t.ek1[r];
          i += code_len - 1;
          break;
        }
      }
    }
    p[o++] = c;
    ++i;
  }
  return o;
}

void AYAR1(ByteString& s, const CodeTable& t) {
  uint8_t buf[ByteString::kMax];
  int n = Encode(s.data(), s.size(), buf, t);
  s.assign(buf, n);
}

void AYAR2(ByteString& s, const CodeTable& t) { s.set_size(Decode(s.data(), s.size(), t)); }

void AYAR3(ByteString& s) {
  int skip = 0;
  while (skip < s.size() - 1 && s[skip] == '0') ++skip;
  if (skip > 0) {
    std::memmove(s.data(), s.data() + skip, static_cast<size_t>(s.size() - skip));
    s.set_size(s.size() - skip);
  }
}

}  // namespace kavinta
