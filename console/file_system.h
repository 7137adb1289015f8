// The file system as the programs see it: open an input for reading, create
// an output file, remove a file, tell whether two names are the same file.
// Names are the console's CP857 bytes; the real file system converts them to
// UTF-8 so that a name typed with Turkish letters finds a file named with
// them. Tests put a fault-injecting file system in its place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace kavinta {

enum class OpenStatus { kOk, kNotFound, kOtherFailure };

class InputFile {
 public:
  virtual ~InputFile() = default;
  /// Reads up to n bytes; returns the count, 0 at the end, -1 on a read error.
  virtual long Read(uint8_t* buf, size_t n) = 0;
  /// The size in bytes, or -1 when it cannot be told.
  virtual int64_t Size() = 0;
};

/// An output file that appears under its name only when it is complete:
/// bytes go to a temporary file beside it, and Commit renames that over the
/// final name. A file destroyed without Commit leaves nothing behind.
class OutputFile {
 public:
  virtual ~OutputFile() = default;
  /// Buffered; a failure is remembered and reported by Commit.
  virtual void Write(const void* p, size_t n) = 0;
  void Write(const std::string& s) { Write(s.data(), s.size()); }
  /// Flushes and closes the temporary file; false when any write failed.
  virtual bool Close() = 0;
  /// Closes if needed, then renames the temporary file over the final name;
  /// false (and the final name untouched) when any step failed.
  virtual bool Commit() = 0;
  /// Why the file failed, in words for the screen's message (may be empty).
  virtual std::string error() const = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  virtual std::unique_ptr<InputFile> OpenRead(const std::string& name, OpenStatus* status) = 0;
  /// Starts an output file; null when even its temporary file cannot be
  /// created (then *error says why).
  virtual std::unique_ptr<OutputFile> Create(const std::string& name, std::string* error) = 0;
  /// Removes a file; true when it is gone (also when it never existed).
  virtual bool Remove(const std::string& name) = 0;
  /// True when both names lead to the same existing file.
  virtual bool SameFile(const std::string& a, const std::string& b) = 0;
};

/// The machine's file system, relative to the current folder.
class RealFileSystem : public FileSystem {
 public:
  std::unique_ptr<InputFile> OpenRead(const std::string& name, OpenStatus* status) override;
  std::unique_ptr<OutputFile> Create(const std::string& name, std::string* error) override;
  bool Remove(const std::string& name) override;
  bool SameFile(const std::string& a, const std::string& b) override;
};

}  // namespace kavinta
