// Memory for the record list's two large blocks (the handles and the tail
// arena): reserved for the whole capacity at once but only paid for as it is
// written, and backed by huge pages where the system grants them. Filling
// 120 MB of handles one 4 KiB page at a time costs a page fault per page,
// a third of a second on its own; with 2 MiB pages it is a few dozen faults,
// and the sort's scans over the handles miss the TLB far less.
#pragma once

#include <cstddef>
#include <memory>

namespace kavinta {

/// Reserves `bytes` of zero-filled address space; null when it cannot.
void* ReserveLarge(size_t bytes);
void ReleaseLarge(void* p, size_t bytes);

/// A std allocator over ReserveLarge, for a vector reserved once.
template <class T>
struct LargeAllocator {
  using value_type = T;
  LargeAllocator() = default;
  template <class U>
  LargeAllocator(const LargeAllocator<U>&) {}
  T* allocate(size_t n) {
    void* p = ReserveLarge(n * sizeof(T));
    if (!p) throw std::bad_alloc();
    return static_cast<T*>(p);
  }
  void deallocate(T* p, size_t n) { ReleaseLarge(p, n * sizeof(T)); }
  template <class U>
  bool operator==(const LargeAllocator<U>&) const {
    return true;
  }
};

/// Owns one block from ReserveLarge.
class LargeBlock {
 public:
  LargeBlock() = default;
  explicit LargeBlock(size_t bytes)
      : bytes_(bytes), p_(static_cast<uint8_t*>(ReserveLarge(bytes))) {
    if (!p_) throw std::bad_alloc();
  }
  ~LargeBlock() {
    if (p_) ReleaseLarge(p_, bytes_);
  }
  LargeBlock(LargeBlock&& o) noexcept : bytes_(o.bytes_), p_(o.p_) { o.p_ = nullptr; }
  LargeBlock& operator=(LargeBlock&& o) noexcept {
    std::swap(bytes_, o.bytes_);
    std::swap(p_, o.p_);
    return *this;
  }
  uint8_t* get() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  size_t bytes_ = 0;
  uint8_t* p_ = nullptr;
};

}  // namespace kavinta
