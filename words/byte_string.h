// The byte string every token, name and line of the programs is built in:
// at most 255 single-byte characters held inline, so that building one never
// allocates. A longer result is cut at 255 bytes without notice.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace kavinta {

class ByteString {
 public:
  static constexpr int kMax = 255;

  ByteString() = default;
  explicit ByteString(std::string_view s) { assign(s); }

  int size() const { return len_; }
  bool empty() const { return len_ == 0; }
  bool full() const { return len_ == kMax; }
  uint8_t* data() { return bytes_; }
  const uint8_t* data() const { return bytes_; }
  uint8_t operator[](int i) const { return bytes_[i]; }
  uint8_t back() const { return bytes_[len_ - 1]; }

  void clear() { len_ = 0; }
  /// Appends one byte; a byte appended to a full string is lost.
  void push_back(uint8_t c) {
    if (len_ < kMax) bytes_[len_++] = c;
  }
  void append(const void* p, int n) {
    if (n > kMax - len_) n = kMax - len_;
    if (n > 0) std::memcpy(bytes_ + len_, p, static_cast<size_t>(n));
    len_ = static_cast<uint8_t>(len_ + (n > 0 ? n : 0));
  }
  void append(std::string_view s) {
    append(s.data(), static_cast<int>(s.size() > kMax ? kMax : s.size()));
  }
  void append(const ByteString& s) { append(s.data(), s.size()); }
  void assign(const void* p, int n) {
    len_ = 0;
    append(p, n);
  }
  void assign(std::string_view s) {
    len_ = 0;
    append(s);
  }
  /// Sets the length directly, for in-place algorithms (0 to 255).
  void set_size(int n) { len_ = static_cast<uint8_t>(n); }

  std::string_view view() const { return {reinterpret_cast<const char*>(bytes_), len_}; }
  std::string str() const { return std::string(view()); }

  friend bool operator==(const ByteString& a, const ByteString& b) {
    return a.len_ == b.len_ && std::memcmp(a.bytes_, b.bytes_, a.len_) == 0;
  }

 private:
  uint8_t len_ = 0;
  uint8_t bytes_[kMax];
};

}  // namespace kavinta
