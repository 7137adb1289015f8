// Helpers shared by the unit tests: Windows-1254 text from UTF-8 literals,
// files, and a temporary working folder.
#pragma once

#include <string>
#include <string_view>

namespace kavinta {

/// UTF-8 text as Windows-1254 bytes (Turkish letters and Latin-1 marks).
std::string W(std::string_view utf8);

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, std::string_view bytes);
bool FileExists(const std::string& path);

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
