// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <ostream>
#include <streambuf>
#include <string>

namespace vistrel::cli {

// A stream buffer writing to a file descriptor (the tool's standard output)
// that keeps the system's reason for the first write that failed, so the tool
// can say why its output did not arrive ("No space left on device").
class FdOutputBuffer : public std::streambuf {
 public:
  explicit FdOutputBuffer(int fd) : fd_(fd) { setp(buffer_, buffer_ + sizeof buffer_); }
  ~FdOutputBuffer() override { sync(); }
  FdOutputBuffer(const FdOutputBuffer&) = delete;
  FdOutputBuffer& operator=(const FdOutputBuffer&) = delete;

  // The errno of the first failed write, 0 while every write went through.
  int error() const { return error_; }

 protected:
  int_type overflow(int_type c) override;
  int sync() override;

 private:
  bool drain();

  int fd_;
  int error_ = 0;
  char buffer_[1 << 16];
};

// Flushes `out` and, when anything written to it was lost, the system's
// reason (as far as the stream knows it); empty when all arrived.
std::string outputFailure(std::ostream& out);

}  // namespace vistrel::cli
