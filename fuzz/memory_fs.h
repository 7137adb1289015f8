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
    return std::make_unique<Input>(it->second, read_chunk);
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
  class Input : public InputFile {
   public:
    Input(const std::string& bytes, size_t chunk) : bytes_(bytes), chunk_(chunk) {}
    long Read(uint8_t* buf, size_t n) override {
      size_t k = std::min({n, chunk_, bytes_.size() - pos_});
      std::memcpy(buf, bytes_.data() + pos_, k);
      pos_ += k;
      return static_cast<long>(k);
    }
    int64_t Size() override { return static_cast<int64_t>(bytes_.size()); }

   private:
    const std::string& bytes_;
    size_t chunk_;
    size_t pos_ = 0;
  };

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
