// SPDX-License-Identifier: MIT
#include "cli/report_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// A new file gets mode 0666 less the umask, as one made by open would.
void SetCreationMode(int fd) {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd, 0666 & ~mask);
}

}  // namespace

bool WriteAll(int fd, const char* data, size_t size) {
  size_t done = 0;
  while (done < size) {
    const ssize_t n = ::write(fd, data + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

bool WriteWholeFile(const std::string& path, const std::string& text, std::string& error) {
  return WriteFileWith(
      path, [&text](int fd) { return WriteAll(fd, text.data(), text.size()); }, error);
}

bool WriteFileWith(const std::string& path, const std::function<bool(int fd)>& produce,
                   std::string& error) {
  std::string name = FolderOf(path) + "/.velmar2tmx-report-XXXXXX";
  std::vector<char> pattern(name.begin(), name.end());
  pattern.push_back('\0');
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) {
    error = std::strerror(errno);
    return false;
  }
  SetCreationMode(fd);
  errno = 0;
  bool written = produce(fd);
  int number = written ? 0 : errno;
  if (::close(fd) != 0 && written) {
    written = false;
    number = errno;
  }
  if (written && ::rename(pattern.data(), path.c_str()) != 0) {
    written = false;
    number = errno;
  }
  if (!written) {
    ::unlink(pattern.data());
    error = std::strerror(number ? number : EIO);
  }
  return written;
}
