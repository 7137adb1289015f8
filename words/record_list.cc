#include "words/record_list.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace kavinta {
namespace {

static_assert(std::endian::native == std::endian::little, "heads are byte-swapped on load");

uint64_t LoadBigEndian(const uint8_t* p) {
  uint64_t v;
  std::memcpy(&v, p, sizeof v);
  return __builtin_bswap64(v);
}

void StoreBigEndian(uint64_t v, uint8_t* p) {
  v = __builtin_bswap64(v);
  std::memcpy(p, &v, sizeof v);
}

}  // namespace

RecordList::RecordList(int32_t capacity) : capacity_(capacity) {}

int32_t RecordList::size() const { return static_cast<int32_t>(handles_.size()); }

int32_t RecordList::capacity() const { return capacity_; }

bool RecordList::Append(const uint8_t* p, int n) {
  if (full()) return false;
  // The whole capacity is reserved at once so that the handles never move;
  // pages not yet written cost no memory.
  if (handles_.capacity() == 0) handles_.reserve(static_cast<size_t>(capacity_));
  n = std::clamp(n, 0, kMaxRecord);

  uint8_t head[32] = {};
  if (n > 0) std::memcpy(head, p, static_cast<size_t>(std::min(n, kInline)));
  uint64_t rest = LoadBigEndian(head + kHead) & ~uint64_t{0xFFFFFFFFFF};  // bytes 25-27
  rest |= uint64_t{static_cast<uint32_t>(n)} << 32;
  if (n > kInline) {
    if (!arena_) {
      // Every record could have a tail; 8 more bytes for the comparison's
      // reads past the last one.
      arena_ = LargeBlock(static_cast<size_t>(capacity_) * (kMaxRecord - kInline) + 8);
    }
    uint32_t tail_len = static_cast<uint32_t>(n - kInline);
    uint8_t* tail = arena_.get() + arena_end_;
    // The zeros after the tail keep every byte that a comparison reads
    // written; the next tail overwrites them.
    std::memset(tail + tail_len, 0, 8);
    std::memcpy(tail, p + kInline, tail_len);
    rest |= arena_end_;
    arena_end_ += tail_len;
  }
  Handle h{LoadBigEndian(head), LoadBigEndian(head + 8), LoadBigEndian(head + 16), rest};
  handles_.push_back(h);
  return true;
}

int RecordList::Get(int32_t i, uint8_t* out) const {
  const Handle& h = handles_[static_cast<size_t>(i - 1)];
  uint8_t head[32];
  StoreBigEndian(h.head_hi, head);
  StoreBigEndian(h.head_mid, head + 8);
  StoreBigEndian(h.head_lo, head + 16);
  StoreBigEndian(h.rest, head + kHead);
  int n = static_cast<int>(Length(h));
  std::memcpy(out, head, static_cast<size_t>(std::min(n, kInline)));
  if (n > kInline) std::memcpy(out + kInline, TailBytes(h), static_cast<size_t>(n - kInline));
  return n;
}

void RecordList::Get(int32_t i, ByteString& out) const { out.set_size(Get(i, out.data())); }

std::string RecordList::ToString(int32_t i) const {
  uint8_t buf[kMaxRecord];
  int n = Get(i, buf);
  return std::string(reinterpret_cast<const char*>(buf), static_cast<size_t>(n));
}

inline bool RecordList::Less(const Handle& a, const Handle& b) const {
  if (a.head_hi != b.head_hi) return a.head_hi < b.head_hi;
  if (a.head_mid != b.head_mid) return a.head_mid < b.head_mid;
  if (a.head_lo != b.head_lo) return a.head_lo < b.head_lo;
  // Bytes 25-27 and then the length. With equal first 27 bytes (padding
  // included) a record of at most 27 bytes is a prefix of the other, so the
  // length decides; only two longer records need their tails.
  uint64_t ka = a.rest >> 32;
  uint64_t kb = b.rest >> 32;
  if ((ka ^ kb) > 0xFF || std::min(ka & 0xFF, kb & 0xFF) <= kInline) return ka < kb;
  return TailLess(a, b);
}

bool RecordList::TailLess(const Handle& a, const Handle& b) const {
  uint32_t la = Length(a);
  uint32_t lb = Length(b);
  const uint8_t* pa = TailBytes(a);
  const uint8_t* pb = TailBytes(b);
  // Tails are short, so they are compared 8 bytes at a time without a call;
  // the last word reads past the shorter tail into the next tail or the
  // zeros after the last one, and those bytes are shifted out.
  uint32_t common = std::min(la, lb) - kInline;
  for (uint32_t k = 0; k < common; k += 8) {
    uint64_t va = LoadBigEndian(pa + k);
    uint64_t vb = LoadBigEndian(pb + k);
    if (common - k < 8) {
      int drop = static_cast<int>(8 * (8 - (common - k)));
      va >>= drop;
      vb >>= drop;
    }
    if (va != vb) return va < vb;
  }
  return la < lb;
}

// Records that share their first 27 bytes compare by their tails alone,
// and reaching a tail is a random read of the arena for every comparison.
// When a whole range shares them, its handles are shifted to hold the next
// 27 bytes instead while the range is sorted: the comparisons give the same
// answers, the tails are read once, and the prefix is put back afterwards.

bool RecordList::SharePrefix(int32_t first, int32_t last) const {
  const Handle* base = handles_.data();
  const Handle& m = base[(first + last) / 2 - 1];
  auto same = [&m](const Handle& h) {
    return h.head_hi == m.head_hi && h.head_mid == m.head_mid && h.head_lo == m.head_lo &&
           (h.rest >> 40) == (m.rest >> 40) && Length(h) > kInline;
  };
  // The ends first, as a range that does not share its start mostly shows it there.
  if (!same(base[first - 1]) || !same(base[last - 1])) return false;
  for (int32_t k = first; k <= last; ++k) {
    if (!same(base[k - 1])) return false;
  }
  return true;
}

void RecordList::DropPrefix(int32_t first, int32_t last) {
  for (int32_t k = first; k <= last; ++k) {
    Handle& h = handles_[static_cast<size_t>(k - 1)];
    uint32_t len = Length(h) - kInline;
    uint32_t offset = static_cast<uint32_t>(h.rest);
    uint8_t head[32] = {};
    std::memcpy(head, arena_.get() + offset, std::min<uint32_t>(len, kInline));
    h.head_hi = LoadBigEndian(head);
    h.head_mid = LoadBigEndian(head + 8);
    h.head_lo = LoadBigEndian(head + 16);
    // The offset moves on by 27 also where no tail is left, so that it can
    // move back.
    h.rest = (LoadBigEndian(head + kHead) & ~uint64_t{0xFFFFFFFFFF}) | uint64_t{len} << 32 |
             (offset + kInline);
  }
}

void RecordList::RestorePrefix(int32_t first, int32_t last, const Prefix& prefix) {
  for (int32_t k = first; k <= last; ++k) {
    Handle& h = handles_[static_cast<size_t>(k - 1)];
    uint32_t len = Length(h) + kInline;
    uint32_t offset = static_cast<uint32_t>(h.rest) - kInline;
    h.head_hi = prefix.head_hi;
    h.head_mid = prefix.head_mid;
    h.head_lo = prefix.head_lo;
    h.rest = prefix.bytes_25_27 | uint64_t{len} << 32 | offset;
  }
}

// One partition step: I := left, J := right, X := a copy of the middle
// record; repeat { while rec[I] < X: I++; while X < rec[J]: J--; if I <= J:
// exchange them, I++, J-- } until I > J.
//
// That loop exchanges, in order, the k-th record from the left that does not
// come before X with the k-th record from the right that X does not come
// before, as long as those two have not crossed. While the scanned ends are
// far apart, the records to exchange are found a block at a time from each
// end, by comparisons whose results are counted rather than branched on
// (branches that follow the data are mostly mispredicted), and exchanged in
// the same pairs. The plain loop then goes on from the last exchange, which
// is exactly where it would have stood itself.
void RecordList::Partition(int32_t left, int32_t right, int32_t& i_out, int32_t& j_out) {
  constexpr int kBlock = 64;
  Handle* base = handles_.data();
  auto at = [base](int32_t k) -> Handle& { return base[k - 1]; };
  const Handle x = at((left + right) / 2);
  int32_t i = left;
  int32_t j = right;

  if (right - left + 1 >= 2 * kBlock) {
    __extension__ using U128 = unsigned __int128;
    // A handle as two 128-bit keys: bytes 1-16, then bytes 17-27 and the
    // length, so that the comparison is two integer comparisons.
    const uint64_t x_key = x.rest >> 32;  // bytes 25-27 and the length
    const U128 x_first = U128{x.head_hi} << 64 | x.head_mid;
    const U128 x_second = U128{x.head_lo} << 64 | x_key;
    const bool x_long = (x_key & 0xFF) > kInline;
    // Only records equal to X in all 27 inline bytes, both longer, need the
    // tails; that is rare, so it is a branch.
    auto needs_tails = [&](const Handle& a) {
      uint64_t a_key = a.rest >> 32;
      bool same_inline = ((a.head_hi ^ x.head_hi) | (a.head_mid ^ x.head_mid) |
                          (a.head_lo ^ x.head_lo) | ((a_key ^ x_key) >> 8)) == 0;
      return x_long & same_inline & ((a_key & 0xFF) > kInline);  // one branch, not six
    };
    auto below = [&](const Handle& a) -> bool {  // a comes before X
      if (needs_tails(a)) [[unlikely]]
        return TailLess(a, x);
      U128 a_first = U128{a.head_hi} << 64 | a.head_mid;
      U128 a_second = U128{a.head_lo} << 64 | (a.rest >> 32);
      return (a_first < x_first) | ((a_first == x_first) & (a_second < x_second));
    };
    auto above = [&](const Handle& a) -> bool {  // X comes before a
      if (needs_tails(a)) [[unlikely]]
        return TailLess(x, a);
      U128 a_first = U128{a.head_hi} << 64 | a.head_mid;
      U128 a_second = U128{a.head_lo} << 64 | (a.rest >> 32);
      return (x_first < a_first) | ((a_first == x_first) & (x_second < a_second));
    };

    // Offsets of the records to exchange within the current left block
    // (from base_l up) and right block (from base_r down); `taken` of each
    // have been exchanged.
    uint8_t off_l[kBlock];
    uint8_t off_r[kBlock];
    int count_l = 0, count_r = 0, taken_l = 0, taken_r = 0;
    int32_t next_l = left, next_r = right;  // the first unscanned position of each end
    int32_t base_l = 0, base_r = 0;
    for (;;) {
      if (taken_l == count_l) {
        if (next_l + kBlock - 1 > next_r) break;  // would reach the right end's blocks
        base_l = next_l;
        count_l = taken_l = 0;
        for (int k = 0; k < kBlock; ++k) {
          off_l[count_l] = static_cast<uint8_t>(k);
          count_l += !below(at(base_l + k));
        }
        next_l += kBlock;
      }
      if (taken_r == count_r) {
        if (next_r - kBlock + 1 < next_l) break;
        base_r = next_r;
        count_r = taken_r = 0;
        for (int k = 0; k < kBlock; ++k) {
          off_r[count_r] = static_cast<uint8_t>(k);
          count_r += !above(at(base_r - k));
        }
        next_r -= kBlock;
      }
      int pairs = std::min(count_l - taken_l, count_r - taken_r);
      for (int k = 0; k < pairs; ++k, ++taken_l, ++taken_r) {
        int32_t p = base_l + off_l[taken_l];
        int32_t q = base_r - off_r[taken_r];
        std::swap(at(p), at(q));
        i = p + 1;
        j = q - 1;
      }
    }
  }

  while (i <= j) {
    while (Less(at(i), x)) ++i;
    while (Less(x, at(j))) --j;
    if (i <= j) {
      std::swap(at(i), at(j));
      ++i;
      --j;
    }
  }
  i_out = i;
  j_out = j;
}

void RecordList::Sort(int32_t lo, int32_t hi, SortProgress* progress) {
  if (lo > hi) return;
  // Pending work, last in first out: the rest of a partition step whose left
  // part is being sorted (its progress cell at `first`, then the range
  // first..last), or putting back the prefix of first..last.
  struct Task {
    int32_t first;
    int32_t last;
    bool restore;
  };
  std::vector<Task> pending;
  std::vector<Prefix> prefixes;
  pending.reserve(64);
  constexpr int32_t kShareMin = 16;  // smaller ranges are not worth the check
  Handle* base = handles_.data();    // position k lives at base[k - 1]

  int32_t left = lo;
  int32_t right = hi;
  for (;;) {
    if (right - left + 1 >= kShareMin && SharePrefix(left, right)) {
      const Handle& m = base[left - 1];
      prefixes.push_back({m.head_hi, m.head_mid, m.head_lo, m.rest & ~uint64_t{0xFFFFFFFFFF}});
      pending.push_back({left, right, true});
      DropPrefix(left, right);
    }

    int32_t i;
    int32_t j;
    Partition(left, right, i, j);

    if (left < j) {
      pending.push_back({i, right, false});
      right = j;
      continue;
    }
    // No left part: this step's cell is due now, and so is every pending
    // cell whose right part turns out empty.
    for (;;) {
      if (progress != nullptr) progress->Cell(i);
      if (i < right) break;
      for (;;) {
        if (pending.empty()) return;
        Task t = pending.back();
        pending.pop_back();
        if (!t.restore) {
          i = t.first;
          right = t.last;
          break;
        }
        RestorePrefix(t.first, t.last, prefixes.back());
        prefixes.pop_back();
      }
    }
    left = i;
  }
}

size_t RecordList::MemoryBytes() const { return handles_.size() * sizeof(Handle) + arena_end_; }

}  // namespace kavinta
