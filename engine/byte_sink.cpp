// SPDX-License-Identifier: MIT
#include "engine/byte_sink.h"

#include <unistd.h>

#include <cerrno>

namespace {
constexpr size_t kBufferSize = 1 << 18;
}

FdSink::FdSink(int fd) : m_fd(fd) { m_buffer.reserve(kBufferSize); }

FdSink::~FdSink() { (void)Flush(); }

bool FdSink::Write(const char* data, size_t size) {
  if (m_error) return false;
  if (m_buffer.size() + size > kBufferSize && !Flush()) return false;
  if (size >= kBufferSize) {
    m_buffer.append(data, size);
    return Flush();
  }
  m_buffer.append(data, size);
  return true;
}

bool FdSink::Flush() {
  if (m_error) return false;
  size_t done = 0;
  while (done < m_buffer.size()) {
    const ssize_t n = ::write(m_fd, m_buffer.data() + done, m_buffer.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      m_error = errno;
      return false;
    }
    if (n == 0) {
      m_error = EIO;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  m_buffer.clear();
  return true;
}
