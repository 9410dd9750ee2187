// SPDX-License-Identifier: MIT
#include "cli/report_file.h"

#include <cerrno>

#include "engine/file_system.h"

EngineError ReportFile::Open(const std::string& path) {
  m_path = path;
  EngineError failure;
  (void)m_file.Open(path, -1, false, failure);
  return failure;
}

EngineError ReportFile::Write(const std::string& text) {
  return WriteWith([&text](int fd) { return WriteAll(fd, text.data(), text.size()); });
}

EngineError ReportFile::WriteWith(const std::function<bool(int fd)>& produce) {
  EngineError failure;
  errno = 0;
  if (!produce(m_file.Fd())) {
    const int number = errno ? errno : EIO;
    m_file.Discard();
    failure.Set(EngineError::Kind::WriteOutput, m_path, number);
    return failure;
  }
  (void)m_file.Commit(failure);
  return failure;
}

bool WriteAll(int fd, const char* data, size_t size) {
  size_t done = 0;
  while (done < size) {
    const int64_t n = TheFileSystem().Write(fd, data + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}
