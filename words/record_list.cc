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

  uint8_t head[kHead] = {};
  std::memcpy(head, p, static_cast<size_t>(std::min(n, kHead)));
  Handle h{LoadBigEndian(head), LoadBigEndian(head + 8), 0, static_cast<uint32_t>(n)};
  if (n > kHead) {
    uint32_t tail_len = static_cast<uint32_t>(n - kHead);
    // A tail never straddles two chunks.
    uint32_t room = static_cast<uint32_t>(chunks_.size()) * kChunkSize - arena_end_;
    if (room < tail_len) {
      arena_end_ = static_cast<uint32_t>(chunks_.size()) * kChunkSize;
      chunks_.push_back(std::make_unique_for_overwrite<uint8_t[]>(kChunkSize));
    }
    h.tail = arena_end_;
    std::memcpy(chunks_[arena_end_ >> kChunkBits].get() + (arena_end_ & (kChunkSize - 1)),
                p + kHead, tail_len);
    arena_end_ += tail_len;
  }
  handles_.push_back(h);
  return true;
}

int RecordList::Get(int32_t i, uint8_t* out) const {
  const Handle& h = handles_[static_cast<size_t>(i - 1)];
  uint8_t head[kHead];
  StoreBigEndian(h.head_hi, head);
  StoreBigEndian(h.head_lo, head + 8);
  int n = static_cast<int>(h.len);
  std::memcpy(out, head, static_cast<size_t>(std::min(n, kHead)));
  if (n > kHead) std::memcpy(out + kHead, TailBytes(h.tail), static_cast<size_t>(n - kHead));
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
  if (a.head_lo != b.head_lo) return a.head_lo < b.head_lo;
  // Equal heads: a record of at most 16 bytes is then a prefix of the other
  // (the zero padding matched real bytes or padding), so length decides.
  if (a.len <= kHead || b.len <= kHead) return a.len < b.len;
  return TailLess(a, b);
}

bool RecordList::TailLess(const Handle& a, const Handle& b) const {
  uint32_t common = std::min(a.len, b.len) - kHead;
  int c = std::memcmp(TailBytes(a.tail), TailBytes(b.tail), common);
  return c != 0 ? c < 0 : a.len < b.len;
}

void RecordList::Sort(int32_t lo, int32_t hi, SortProgress* progress) {
  if (lo > hi) return;
  // A pending task is the rest of a partition step whose left part is being
  // sorted: its progress cell at `i`, then the range i..right.
  struct Task {
    int32_t i;
    int32_t right;
  };
  std::vector<Task> pending;
  pending.reserve(64);
  Handle* base = handles_.data();  // position k lives at base[k - 1]

  int32_t left = lo;
  int32_t right = hi;
  for (;;) {
    int32_t i = left;
    int32_t j = right;
    const Handle x = base[(left + right) / 2 - 1];
    do {
      while (Less(base[i - 1], x)) ++i;
      while (Less(x, base[j - 1])) --j;
      if (i <= j) {
        std::swap(base[i - 1], base[j - 1]);
        ++i;
        --j;
      }
    } while (i <= j);

    if (left < j) {
      pending.push_back({i, right});
      right = j;
      continue;
    }
    // No left part: this step's cell is due now, and so is every pending
    // cell whose right part turns out empty.
    for (;;) {
      if (progress != nullptr) progress->Cell(i);
      if (i < right) break;
      if (pending.empty()) return;
      i = pending.back().i;
      right = pending.back().right;
      pending.pop_back();
    }
    left = i;
  }
}

size_t RecordList::MemoryBytes() const {
  return handles_.size() * sizeof(Handle) + chunks_.size() * size_t{kChunkSize};
}

}  // namespace kavinta
