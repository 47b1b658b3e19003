// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/file_read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <streambuf>

#include "host/file_write.h"

namespace vistrel::host {
namespace fs = std::filesystem;

namespace {

// "12 bytes", "64 KB", "4.0 GB".
std::string sizeText(std::uintmax_t bytes) {
  static const char* const kUnits[] = {"KB", "MB", "GB", "TB"};
  if (bytes < 1024) return std::to_string(bytes) + " bytes";
  double size = static_cast<double>(bytes) / 1024;
  int unit = 0;
  while (size >= 1024 && unit < 3) {
    size /= 1024;
    ++unit;
  }
  char buf[32];
  std::snprintf(buf, sizeof buf, size == static_cast<double>(static_cast<std::uintmax_t>(size)) ? "%.0f %s" : "%.1f %s",
                size, kUnits[unit]);
  return buf;
}

Status cannotRead(const fs::path& path, int err) {
  const std::string msg = "cannot read " + path.string() + ": " + systemReason(err);
  if (err == ENOENT || err == ENOTDIR) return Status::NotFound(msg);
  if (err == EACCES || err == EPERM) return Status::AccessDenied(msg);
  return Status::IoError(msg);
}

Status checkKind(const fs::path& path, const struct stat& st, const InputKind& kind) {
  if (!S_ISREG(st.st_mode)) {
    return Status::InvalidArgument(path.string() + " is " + std::string(fileKindName(st.st_mode)) + ", not " + std::string(kind.noun));
  }
  const auto size = static_cast<std::uintmax_t>(st.st_size);
  if (size > kind.maxBytes) {
    return Status::InvalidArgument(path.string() + " is too large for " + std::string(kind.noun) + " (" +
                                   sizeText(size) + ", at most " + sizeText(kind.maxBytes) + ")");
  }
  return Status::OK();
}

// A read failure inside the stream buffer; the stream turns it into badbit.
struct ReadFailed {};

}  // namespace

// Reads the file through its descriptor, up to the size it had when opened.
class InputFile::Buffer : public std::streambuf {
 public:
  explicit Buffer(const InputFile& file) : file_(file) {}

 protected:
  int_type underflow() override {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    auto got = file_.readAt(offset_, sizeof data_, data_);
    if (!got.ok()) throw ReadFailed{};
    if (*got == 0) return traits_type::eof();
    offset_ += *got;
    setg(data_, data_, data_ + *got);
    return traits_type::to_int_type(*gptr());
  }

 private:
  const InputFile& file_;
  std::uintmax_t offset_ = 0;
  char data_[64 * 1024];
};

InputFile::InputFile(fs::path path, int fd, std::uintmax_t size) : path_(std::move(path)), fd_(fd), size_(size) {}

InputFile::~InputFile() {
  stream_.reset();
  buffer_.reset();
  if (fd_ >= 0) ::close(fd_);
}

StatusOr<std::unique_ptr<InputFile>> InputFile::open(const fs::path& path, const InputKind& kind) {
  // Looked at before it is opened: opening a device may already do something.
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return cannotRead(path, errno);
  VISTREL_RETURN_IF_ERROR(checkKind(path, st, kind));
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return cannotRead(path, errno);
  // And again once open, in case another program swapped the name meanwhile.
  Status s = ::fstat(fd, &st) == 0 ? checkKind(path, st, kind) : cannotRead(path, errno);
  if (!s.ok()) {
    ::close(fd);
    return s;
  }
  return std::unique_ptr<InputFile>(new InputFile(path, fd, static_cast<std::uintmax_t>(st.st_size)));
}

StatusOr<std::size_t> InputFile::readAt(std::uintmax_t offset, std::size_t n, char* buffer) const {
  if (offset >= size_) return std::size_t{0};
  if (n > size_ - offset) n = static_cast<std::size_t>(size_ - offset);
  std::size_t done = 0;
  while (done < n) {
    const ssize_t got = ::pread(fd_, buffer + done, n - done, static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return cannotRead(path_, errno);
    if (got == 0) break;  // the file was cut short since it was opened
    done += static_cast<std::size_t>(got);
  }
  return done;
}

std::istream& InputFile::stream() {
  if (!stream_) {
    buffer_ = std::make_unique<Buffer>(*this);
    stream_ = std::make_unique<std::istream>(buffer_.get());
  }
  return *stream_;
}

StatusOr<std::string> readInputFile(const fs::path& path, const InputKind& kind) {
  auto file = InputFile::open(path, kind);
  if (!file.ok()) return file.status();
  std::string bytes(static_cast<std::size_t>((*file)->size()), '\0');
  auto got = (*file)->readAt(0, bytes.size(), bytes.data());
  if (!got.ok()) return got.status();
  bytes.resize(*got);
  return bytes;
}

}  // namespace vistrel::host
