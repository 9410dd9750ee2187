// SPDX-License-Identifier: MIT
#include "engine/byte_sink.h"

#include <cerrno>

#include "engine/file_system.h"
#include "text/tuning.h"

namespace {
constexpr size_t kBufferSize = tuning::kSinkBufferBytes;
constexpr int64_t kWritebackBytes = tuning::kWritebackBytes;
}  // namespace

FdSink::FdSink(int fd, bool startWriteback)
    : m_fs(TheFileSystem()), m_fd(fd), m_startWriteback(startWriteback) {}

FdSink::~FdSink() {
  (void)Flush();
}

bool FdSink::Write(const char* data, size_t size) {
  if (m_error) return false;
  // Large blocks go to the file as they are; small writes are collected first.
  if (size >= kBufferSize / 4) return Flush() && WriteAll(data, size);
  if (m_buffer.size() + size > kBufferSize && !Flush()) return false;
  if (m_buffer.capacity() < kBufferSize) m_buffer.reserve(kBufferSize);
  m_buffer.append(data, size);
  return true;
}

bool FdSink::Flush() {
  if (m_error) return false;
  const bool ok = WriteAll(m_buffer.data(), m_buffer.size());
  m_buffer.clear();
  return ok;
}

bool FdSink::WriteAll(const char* data, size_t size) {
  size_t done = 0;
  while (done < size) {
    const int64_t n = m_fs.Write(m_fd, data + done, size - done);
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
  StartWriteback(size);
  return true;
}

void FdSink::StartWriteback(size_t size) {
  if (!m_startWriteback) return;
  m_unsynced += static_cast<int64_t>(size);
  if (m_unsynced < kWritebackBytes) return;
  // Only a hint: a file system that cannot take it is synced at the end all the same.
  m_fs.StartWriteback(m_fd, m_written, m_unsynced);
  m_written += m_unsynced;
  m_unsynced = 0;
}
