// SPDX-License-Identifier: MIT
#include "cli/report_file.h"

#include <cerrno>
#include <cstring>

#include "engine/file_system.h"

bool ReportFile::Open(const std::string& path, std::string& error) {
  EngineError failure;
  if (m_file.Open(path, -1, false, failure)) return true;
  error = failure.reason;
  return false;
}

bool ReportFile::Write(const std::string& text, std::string& error) {
  return WriteWith([&text](int fd) { return WriteAll(fd, text.data(), text.size()); }, error);
}

bool ReportFile::WriteWith(const std::function<bool(int fd)>& produce, std::string& error) {
  errno = 0;
  if (!produce(m_file.Fd())) {
    const int number = errno ? errno : EIO;
    m_file.Discard();
    error = std::strerror(number);
    return false;
  }
  EngineError failure;
  if (m_file.Commit(failure)) return true;
  error = failure.reason;
  return false;
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
