#include "console/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "console/cp857.h"
#include "console/interrupt.h"

namespace kavinta {
namespace {

std::string FsName(const std::string& name) { return Cp857NameToUtf8(name); }

std::string DirectoryOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

/// Why a file operation failed, in Turkish (UTF-8), for the screen.
std::string Reason(int err) {
  switch (err) {
    case ENOSPC:
    case EDQUOT:
      return "diskte yer yok";
    case EFBIG:
      // A file system's (FAT32: 4 GB) or the process's file size limit.
      return "dosya boyu sınırı aşıldı";
    case EACCES:
    case EPERM:
      return "yazma izni yok";
    case EROFS:
      return "salt okunur disk";
    case ENAMETOOLONG:
      return "ad çok uzun";
    case ENOENT:
    case ENOTDIR:
      return "klasör yok";
    case EISDIR:
      return "aynı adda bir klasör var";
    default:
      return std::strerror(err);
  }
}

class PosixInputFile : public InputFile {
 public:
  PosixInputFile(int fd, int64_t size) : fd_(fd), size_(size) {}
  ~PosixInputFile() override { close(fd_); }
  long Read(uint8_t* buf, size_t n) override {
    for (;;) {
      ssize_t got = read(fd_, buf, n);
      if (got >= 0) return static_cast<long>(got);
      if (errno != EINTR) return -1;
      if (InterruptPending()) ExitForInterrupt();
    }
  }
  int64_t Size() override { return size_; }

 private:
  int fd_;
  int64_t size_;
};

class PosixOutputFile : public OutputFile {
 public:
  PosixOutputFile(int fd, std::string temp, std::string final_name)
      : fd_(fd), temp_(std::move(temp)), final_(std::move(final_name)) {
    buffer_.reserve(kBufferSize);
    RegisterTempFile(temp_);
  }
  ~PosixOutputFile() override {
    if (fd_ >= 0) close(fd_);
    if (!committed_) unlink(temp_.c_str());
    UnregisterTempFile(temp_);
  }

  void Write(const void* p, size_t n) override {
    if (failed_) return;
    const char* bytes = static_cast<const char*>(p);
    if (buffer_.size() + n > kBufferSize) {
      Flush();
      if (n >= kBufferSize) {
        WriteAll(bytes, n);
        return;
      }
    }
    buffer_.insert(buffer_.end(), bytes, bytes + n);
  }

  bool Close() override {
    if (fd_ < 0) return !failed_;
    Flush();
    if (close(fd_) != 0) Fail(errno);
    fd_ = -1;
    return !failed_;
  }

  bool Commit() override {
    if (!Close()) return false;
    if (rename(temp_.c_str(), final_.c_str()) != 0) {
      Fail(errno);
      return false;
    }
    committed_ = true;
    return true;
  }

  std::string error() const override { return error_; }

 private:
  static constexpr size_t kBufferSize = 1 << 20;

  void Fail(int err) {
    if (!failed_) error_ = Reason(err);
    failed_ = true;
  }
  void Flush() {
    if (!buffer_.empty()) WriteAll(buffer_.data(), buffer_.size());
    buffer_.clear();
  }
  void WriteAll(const char* p, size_t n) {
    while (n > 0 && !failed_) {
      ssize_t put = write(fd_, p, n);
      if (put < 0) {
        if (errno == EINTR) {
          if (InterruptPending()) ExitForInterrupt();
          continue;
        }
        Fail(errno);
        return;
      }
      p += put;
      n -= static_cast<size_t>(put);
    }
  }

  int fd_;
  std::string temp_, final_;
  std::vector<char> buffer_;
  bool failed_ = false;
  bool committed_ = false;
  std::string error_;
};

}  // namespace

std::unique_ptr<InputFile> RealFileSystem::OpenRead(const std::string& name, OpenStatus* status) {
  std::string path = FsName(name);
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    // A missing file in an existing folder is "not found"; a missing folder,
    // no access or a name the file system rejects is another failure.
    struct stat dir;
    bool folder_exists = stat(DirectoryOf(path).c_str(), &dir) == 0 && S_ISDIR(dir.st_mode);
    *status =
        (errno == ENOENT && folder_exists) ? OpenStatus::kNotFound : OpenStatus::kOtherFailure;
    return nullptr;
  }
  struct stat st;
  if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    close(fd);
    *status = OpenStatus::kOtherFailure;
    return nullptr;
  }
  *status = OpenStatus::kOk;
  int64_t size = S_ISREG(st.st_mode) ? static_cast<int64_t>(st.st_size) : -1;
  return std::make_unique<PosixInputFile>(fd, size);
}

std::unique_ptr<OutputFile> RealFileSystem::Create(const std::string& name, std::string* error) {
  static int counter = 0;
  std::string final_name = FsName(name);
  std::string temp = DirectoryOf(final_name) + "/.kavinta-" + std::to_string(getpid()) + "-" +
                     std::to_string(++counter) + ".tmp";
  int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) {
    *error = Reason(errno);
    return nullptr;
  }
  return std::make_unique<PosixOutputFile>(fd, std::move(temp), std::move(final_name));
}

bool RealFileSystem::Remove(const std::string& name) {
  std::string path = FsName(name);
  return unlink(path.c_str()) == 0 || errno == ENOENT;
}

bool RealFileSystem::SameFile(const std::string& a, const std::string& b) {
  struct stat sa, sb;
  if (stat(FsName(a).c_str(), &sa) != 0 || stat(FsName(b).c_str(), &sb) != 0) return false;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

}  // namespace kavinta
