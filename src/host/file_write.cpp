// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/file_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace vistrel::host {
namespace {

WriteFault& writeFault() {
  static WriteFault fault;
  return fault;
}

Status failure(const std::filesystem::path& path, int err) {
  return Status::IoError("cannot write " + path.string() + ": " + systemReason(err));
}

// Writes all of `bytes` to `fd`, going on after short writes; errno or 0.
int writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return 0;
}

mode_t currentUmask() {
  const mode_t mask = ::umask(022);
  ::umask(mask);
  return mask;
}

}  // namespace

std::string systemReason(int errnoValue) { return std::strerror(errnoValue); }

void setWriteFaultForTesting(WriteFault fault) { writeFault() = std::move(fault); }

Status writeFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
  std::filesystem::path tmp = path;
  tmp += ".tmp-XXXXXX";
  std::string pattern = tmp.string();
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) return failure(path, errno);
  int err = writeFault() ? writeFault()(path) : 0;
  if (err == 0) err = writeAll(fd, bytes);
  if (err == 0 && ::fsync(fd) != 0) err = errno;
  // The program's files are ordinary user files: the umask decides, as for
  // any file the user makes, not mkstemp's private 0600.
  if (err == 0 && ::fchmod(fd, 0666 & ~currentUmask()) != 0) err = errno;
  if (::close(fd) != 0 && err == 0) err = errno;
  if (err == 0 && ::rename(pattern.c_str(), path.c_str()) != 0) err = errno;
  if (err != 0) {
    ::unlink(pattern.c_str());
    return failure(path, err);
  }
  return Status::OK();
}

Status moveFileIntoPlace(const std::filesystem::path& from, const std::filesystem::path& to) {
  const int fd = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return Status::IoError("cannot read " + from.string() + ": " + systemReason(errno));
  int err = ::fsync(fd) != 0 ? errno : 0;
  ::close(fd);
  // A link fails when the name is taken, where a rename would replace it.
  if (err == 0 && ::link(from.c_str(), to.c_str()) != 0) {
    err = errno;
    // A file system without hard links: look first, then rename.
    if (err == EPERM || err == EOPNOTSUPP || err == ENOSYS) {
      struct stat st;
      err = ::lstat(to.c_str(), &st) == 0 ? EEXIST : ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
    }
  }
  if (err != 0) return failure(to, err);
  ::unlink(from.c_str());
  const std::filesystem::path folder = to.has_parent_path() ? to.parent_path() : std::filesystem::path(".");
  if (const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return Status::OK();
}

}  // namespace vistrel::host
