// Helpers shared by the unit tests: Windows-1254 text from UTF-8 literals,
// files, and a temporary working folder.
#pragma once

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "console/file_system.h"

namespace kavinta {

/// UTF-8 text as Windows-1254 bytes (Turkish letters and Latin-1 marks).
std::string W(std::string_view utf8);

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, std::string_view bytes);
bool FileExists(const std::string& path);

/// An opened input over bytes in memory that hands out at most `chunk`
/// bytes per read, so that line ends can fall across the reading loop's
/// blocks.
class StringInput : public InputFile {
 public:
  explicit StringInput(std::string bytes, size_t chunk = 1 << 20)
      : bytes_(std::move(bytes)), chunk_(chunk) {}
  long Read(uint8_t* buf, size_t n) override {
    size_t k = std::min({n, chunk_, bytes_.size() - pos_});
    std::memcpy(buf, bytes_.data() + pos_, k);
    pos_ += k;
    return static_cast<long>(k);
  }
  int64_t Size() override { return static_cast<int64_t>(bytes_.size()); }

 private:
  std::string bytes_;
  size_t chunk_;
  size_t pos_ = 0;
};

/// A fresh temporary folder that is the current folder while the object
/// lives; the previous folder is restored and the temporary one removed.
class ScopedTempDir {
 public:
  ScopedTempDir();
  ~ScopedTempDir();
  const std::string& path() const { return path_; }

 private:
  std::string path_, old_cwd_;
};

}  // namespace kavinta
