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

// Flushes the folder of `file` to disk, so that a rename in it lasts.
void syncFolder(const std::filesystem::path& file) {
  const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
  if (const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}

// The file a write to `path` replaces: the path itself when it is a regular
// file or names nothing yet, the file a link names when it is one. Anything
// else is refused, so that a rename never puts a file where a device, a
// folder or a link stood.
StatusOr<std::filesystem::path> writeTarget(const std::filesystem::path& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) {
    if (errno == ENOENT) return path;
    return failure(path, errno);
  }
  if (S_ISREG(st.st_mode)) return path;
  if (!S_ISLNK(st.st_mode)) {
    return Status::IoError("cannot write " + path.string() + ": it is " + std::string(fileKindName(st.st_mode)) +
                           ", not a regular file");
  }
  if (::stat(path.c_str(), &st) != 0) {
    if (errno == ENOENT) return Status::IoError("cannot write " + path.string() + ": it is a link to a missing file");
    return failure(path, errno);
  }
  if (!S_ISREG(st.st_mode)) {
    return Status::IoError("cannot write " + path.string() + ": it is a link to " + std::string(fileKindName(st.st_mode)) +
                           ", not to a regular file");
  }
  std::error_code ec;
  std::filesystem::path target = std::filesystem::canonical(path, ec);
  if (ec) return failure(path, ec.value());
  return target;
}

}  // namespace

std::string systemReason(int errnoValue) { return std::strerror(errnoValue); }

std::string_view fileKindName(unsigned mode) {
  if (S_ISREG(mode)) return "a regular file";
  if (S_ISDIR(mode)) return "a directory";
  if (S_ISFIFO(mode)) return "a named pipe";
  if (S_ISSOCK(mode)) return "a socket";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  if (S_ISLNK(mode)) return "a link";
  return "a special file";
}

void setWriteFaultForTesting(WriteFault fault) { writeFault() = std::move(fault); }

StatusOr<std::unique_ptr<StagedFile>> StagedFile::write(const std::filesystem::path& path,
                                                        std::string_view bytes) {
  auto target = writeTarget(path);
  if (!target.ok()) return target.status();
  std::filesystem::path tmp = *target;
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
  if (err != 0) {
    ::unlink(pattern.c_str());
    return failure(path, err);
  }
  return std::unique_ptr<StagedFile>(new StagedFile(path, std::move(target).value(), std::move(pattern)));
}

StagedFile::~StagedFile() {
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
}

Status StagedFile::commit() {
  if (temporary_.empty()) return Status::OK();
  if (::rename(temporary_.c_str(), target_.c_str()) != 0) return failure(path_, errno);
  temporary_.clear();
  syncFolder(target_);
  return Status::OK();
}

Status writeFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
  auto staged = StagedFile::write(path, bytes);
  if (!staged.ok()) return staged.status();
  return (*staged)->commit();
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
  syncFolder(to);
  return Status::OK();
}

}  // namespace vistrel::host
