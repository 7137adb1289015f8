// A file system for tests that passes everything to another one, except the
// faults a test asks for: for a chosen name, creating, writing, closing or
// renaming the output file fails the way a read-only folder or a full disk
// makes it fail, removing it fails, or reading the input stops with an error
// after some bytes. It also notes every name removed.
#pragma once

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "console/file_system.h"

namespace kavinta {

enum class Fault { kCreate, kWrite, kClose, kRename, kRemove, kRead };

inline const char* FaultName(Fault f) {
  switch (f) {
    case Fault::kCreate:
      return "create";
    case Fault::kWrite:
      return "write";
    case Fault::kClose:
      return "close";
    case Fault::kRename:
      return "rename";
    case Fault::kRemove:
      return "remove";
    case Fault::kRead:
      return "read";
  }
  return "?";
}

class FaultFileSystem : public FileSystem {
 public:
  explicit FaultFileSystem(FileSystem& inner) : inner_(inner) {}

  /// From now on, `fault` happens to the file `name` (names as the programs
  /// pass them). For kRead, the input delivers `after` bytes, then fails.
  void Fail(const std::string& name, Fault fault, long after = 0) {
    faults_[name] = {fault, after};
  }
  const std::vector<std::string>& removed() const { return removed_; }

  std::unique_ptr<InputFile> OpenRead(const std::string& name, OpenStatus* status) override {
    std::unique_ptr<InputFile> file = inner_.OpenRead(name, status);
    if (file && Has(name, Fault::kRead)) {
      return std::make_unique<FailingInput>(std::move(file), faults_[name].after);
    }
    return file;
  }

  std::unique_ptr<OutputFile> Create(const std::string& name, std::string* error) override {
    if (Has(name, Fault::kCreate)) {
      *error = "yazma izni yok";
      return nullptr;
    }
    std::unique_ptr<OutputFile> file = inner_.Create(name, error);
    auto it = faults_.find(name);
    if (!file || it == faults_.end()) return file;
    return std::make_unique<FailingOutput>(std::move(file), it->second.fault);
  }

  bool Remove(const std::string& name) override {
    if (Has(name, Fault::kRemove)) return false;
    removed_.push_back(name);
    return inner_.Remove(name);
  }

  bool SameFile(const std::string& a, const std::string& b) override {
    return inner_.SameFile(a, b);
  }

 private:
  struct Entry {
    Fault fault;
    long after;
  };

  class FailingInput : public InputFile {
   public:
    FailingInput(std::unique_ptr<InputFile> inner, long after)
        : inner_(std::move(inner)), left_(after) {}
    long Read(uint8_t* buf, size_t n) override {
      if (left_ <= 0) return -1;
      long got = inner_->Read(buf, std::min(n, static_cast<size_t>(left_)));
      if (got > 0) left_ -= got;
      return got;
    }
    int64_t Size() override { return inner_->Size(); }

   private:
    std::unique_ptr<InputFile> inner_;
    long left_;
  };

  class FailingOutput : public OutputFile {
   public:
    FailingOutput(std::unique_ptr<OutputFile> inner, Fault fault)
        : inner_(std::move(inner)), fault_(fault) {}
    void Write(const void* p, size_t n) override {
      // A full disk: nothing more reaches the file.
      if (fault_ == Fault::kWrite) {
        failed_ = true;
        return;
      }
      inner_->Write(p, n);
    }
    bool Close() override {
      bool ok = inner_->Close();
      if (fault_ == Fault::kWrite || fault_ == Fault::kClose) failed_ = true;
      return ok && !failed_;
    }
    bool Commit() override {
      if (!Close()) return false;
      if (fault_ == Fault::kRename) {
        failed_ = true;
        return false;  // the inner file is never committed: its temporary goes
      }
      return inner_->Commit();
    }
    std::string error() const override {
      if (failed_) return fault_ == Fault::kRename ? "yeniden adlandırılamadı" : "diskte yer yok";
      return inner_->error();
    }

   private:
    std::unique_ptr<OutputFile> inner_;
    Fault fault_;
    bool failed_ = false;
  };

  bool Has(const std::string& name, Fault f) const {
    auto it = faults_.find(name);
    return it != faults_.end() && it->second.fault == f;
  }

  FileSystem& inner_;
  std::map<std::string, Entry> faults_;
  std::vector<std::string> removed_;
};

}  // namespace kavinta
