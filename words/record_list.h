// The record list B: every word occurrence a reader accepts, as a byte string
// of at most 120 bytes, appended in input order and sorted in place between
// reading and writing.
//
// Layout: records are not kept in 120-byte slots. Each record is a 32-byte
// handle holding its first 24 bytes inline (the sort compares these with three
// integer comparisons), the next 3 bytes and its length; bytes past the 27th
// go to one arena. Encoded words are long (every Turkish letter is a 5-byte
// code), and 27 inline bytes settle nearly every comparison of index records
// without reading the arena; a full list's handles take 160 MB. Handles and
// arena are reserved for the whole capacity but only the written part takes
// memory, so memory grows with the input, not with the capacity, and the sort
// moves handles, never record bytes. Comparing two handles gives exactly the
// unsigned byte order of the records (a proper prefix first), so every
// partition step of the sort lands where it would on the full records. While
// the sort works on a range whose records all share their first 27 bytes,
// those handles hold the next 27 bytes instead (the same answers, without
// reading the arena); the prefix is put back when the range is done.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "words/byte_string.h"
#include "words/large_memory.h"

namespace kavinta {

/// Told of each call of the sort, after its left part and before its right.
class SortProgress {
 public:
  virtual ~SortProgress() = default;
  /// `i` is the call's scan position I: the first position of its right part.
  virtual void Cell(int32_t i) = 0;
};

class RecordList {
 public:
  static constexpr int32_t kCapacity = 5'000'000;  ///< S
  static constexpr int kMaxRecord = 120;

  /// `capacity` is S; tests may pass a smaller one.
  explicit RecordList(int32_t capacity = kCapacity);

  int32_t size() const;      ///< N
  int32_t capacity() const;  ///< S
  bool full() const { return size() >= capacity(); }

  /// Stores the first 120 bytes of p[0..n) as record N+1. Returns false, and
  /// stores nothing, when the list is full.
  bool Append(const uint8_t* p, int n);
  bool Append(std::string_view s) {
    return Append(reinterpret_cast<const uint8_t*>(s.data()), static_cast<int>(s.size()));
  }

  /// Copies record i (1-based, 1..N) into out, which has room for 120 bytes;
  /// returns its length.
  int Get(int32_t i, uint8_t* out) const;
  /// Record i into a byte string (for the writers, which decode in place).
  void Get(int32_t i, ByteString& out) const;
  /// Record i as a std::string (tests and tools).
  std::string ToString(int32_t i) const;

  /// SORT: sorts positions lo..hi (1-based, inclusive) into ascending byte
  /// order with Hoare partitioning around a copy of the middle record, both
  /// scans strict, exchanging also when I = J. Each partition step calls
  /// progress->Cell(I) after its left part is sorted and before its right
  /// part; pending ranges live on a heap stack, so no input can exhaust the
  /// call stack. `progress` may be null.
  void Sort(int32_t lo, int32_t hi, SortProgress* progress);

  /// Bytes held by the list (handles and arena), for the benchmarks.
  size_t MemoryBytes() const;

 private:
  /// One record as the sort sees it: its first 27 bytes, zero-padded, as
  /// big-endian integers, so that integer order is byte order; its length;
  /// and where the bytes past the 27th lie in the arena.
  struct Handle {
    uint64_t head_hi;   ///< bytes 1-8
    uint64_t head_mid;  ///< bytes 9-16
    uint64_t head_lo;   ///< bytes 17-24
    /// Bytes 25-27 in the top 24 bits, the length (0..120) in the next 8,
    /// and in the low 32 the arena offset of bytes 28..len (len > 27 only).
    uint64_t rest;
  };
  static_assert(sizeof(Handle) == 32, "two handles to a cache line");
  static constexpr int kHead = 24;
  static constexpr int kInline = 27;

  static uint32_t Length(const Handle& h) { return static_cast<uint32_t>(h.rest >> 32) & 0xFF; }
  const uint8_t* TailBytes(const Handle& h) const {
    return arena_.get() + static_cast<uint32_t>(h.rest);
  }
  /// The first 27 bytes that every record of a range shares, while the
  /// handles of that range hold the bytes after them.
  struct Prefix {
    uint64_t head_hi;
    uint64_t head_mid;
    uint64_t head_lo;
    uint64_t bytes_25_27;  ///< in the top 24 bits
  };
  bool SharePrefix(int32_t first, int32_t last) const;
  void DropPrefix(int32_t first, int32_t last);
  void RestorePrefix(int32_t first, int32_t last, const Prefix& prefix);

  void Partition(int32_t left, int32_t right, int32_t& i, int32_t& j);
  bool Less(const Handle& a, const Handle& b) const;
  bool TailLess(const Handle& a, const Handle& b) const;

  // Both are reserved for the whole capacity on first use; pages not yet
  // written cost no memory.
  std::vector<Handle, LargeAllocator<Handle>> handles_;
  LargeBlock arena_;        // bytes past the 27th of each record
  uint32_t arena_end_ = 0;  // next free arena offset
  int32_t capacity_;
};

}  // namespace kavinta
