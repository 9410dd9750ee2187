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

bool WriteAll(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

// A new file gets mode 0666 less the umask, as one made by open would.
void SetCreationMode(int fd) {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd, 0666 & ~mask);
}

}  // namespace

bool WriteWholeFile(const std::string& path, const std::string& text, std::string& error) {
  std::string name = FolderOf(path) + "/.velmar2tmx-report-XXXXXX";
  std::vector<char> pattern(name.begin(), name.end());
  pattern.push_back('\0');
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) {
    error = std::strerror(errno);
    return false;
  }
  SetCreationMode(fd);
  bool written = WriteAll(fd, text);
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
