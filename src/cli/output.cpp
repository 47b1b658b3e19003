// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "cli/output.h"

#include <unistd.h>

#include <cerrno>

#include "host/file_write.h"

namespace vistrel::cli {

bool FdOutputBuffer::drain() {
  const char* p = pbase();
  std::size_t left = static_cast<std::size_t>(pptr() - pbase());
  while (left > 0 && error_ == 0) {
    const ssize_t n = ::write(fd_, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      error_ = errno;
    } else {
      p += n;
      left -= static_cast<std::size_t>(n);
    }
  }
  setp(buffer_, buffer_ + sizeof buffer_);
  return error_ == 0;
}

FdOutputBuffer::int_type FdOutputBuffer::overflow(int_type c) {
  if (!drain()) return traits_type::eof();
  if (!traits_type::eq_int_type(c, traits_type::eof())) {
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
  }
  return traits_type::not_eof(c);
}

int FdOutputBuffer::sync() { return drain() ? 0 : -1; }

std::string outputFailure(std::ostream& out) {
  out.flush();
  if (!out.fail()) return {};
  if (const auto* fd = dynamic_cast<const FdOutputBuffer*>(out.rdbuf()); fd != nullptr && fd->error() != 0) {
    return host::systemReason(fd->error());
  }
  return "the output stream failed";
}

}  // namespace vistrel::cli
