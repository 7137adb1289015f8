// A file system held in memory, for whole runs inside a fuzz target: files
// are byte strings under their names, an output file reaches its name only
// when it is committed, and an input hands out its bytes in small pieces so
// that line ends fall across the reading loop's blocks.
#pragma once

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "console/file_system.h"
#include "tests/test_util.h"

namespace kavinta {

class MemoryFileSystem : public FileSystem {
 public:
  /// The files by name (names as the programs pass them, CP857).
  std::map<std::string, std::string> files;
  /// The most bytes one read of an input hands out.
  size_t read_chunk = 1 << 20;

  std::unique_ptr<InputFile> OpenRead(const std::string& name, OpenStatus* status) override {
    auto it = files.find(name);
    if (it == files.end()) {
      *status = OpenStatus::kNotFound;
      return nullptr;
    }
    *status = OpenStatus::kOk;
    return std::make_unique<StringInput>(it->second, read_chunk);
  }

  std::unique_ptr<OutputFile> Create(const std::string& name, std::string* error) override {
    return std::make_unique<Output>(*this, name);
  }

  bool Remove(const std::string& name) override {
    files.erase(name);
    return true;
  }

  bool SameFile(const std::string& a, const std::string& b) override {
    return a == b && files.count(a) != 0;
  }

 private:
  class Output : public OutputFile {
   public:
    Output(MemoryFileSystem& fs, std::string name) : fs_(fs), name_(std::move(name)) {}
    void Write(const void* p, size_t n) override { bytes_.append(static_cast<const char*>(p), n); }
    bool Close() override { return true; }
    bool Commit() override {
      fs_.files[name_] = std::move(bytes_);
      return true;
    }
    std::string error() const override { return {}; }

   private:
    MemoryFileSystem& fs_;
    std::string name_;
    std::string bytes_;
  };
};

}  // namespace kavinta
