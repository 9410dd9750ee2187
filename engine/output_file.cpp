// SPDX-License-Identifier: MIT
#include "engine/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <string>
#include <vector>

namespace {

constexpr int kMaxLinkHops = 40;

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// The path with every symbolic link of its last component followed; the final target need not
// exist. False with errno set on a loop or an unreadable link.
bool ResolveLinks(const std::string& path, std::string& target) {
  target = path;
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    struct stat st {};
    if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
    std::vector<char> buffer(PATH_MAX + 1);
    const ssize_t n = ::readlink(target.c_str(), buffer.data(), buffer.size() - 1);
    if (n < 0) return false;
    const std::string link(buffer.data(), static_cast<size_t>(n));
    target = link.front() == '/' ? link : FolderOf(target) + "/" + link;
  }
  errno = ELOOP;
  return false;
}

mode_t CurrentUmask() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

bool SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = ::fsync(fd) == 0 || errno == EINVAL;
  ::close(fd);
  return ok;
}

}  // namespace

OutputFile::~OutputFile() {
  Discard();
}

bool OutputFile::Open(const std::string& path, int fd, bool noClobber, EngineError& error) {
  m_path = path;
  m_noClobber = noClobber;
  if (fd >= 0) {
    m_fd = fd;
    m_direct = true;
    return true;
  }
  if (path.empty()) {
    error.Set(EngineError::Kind::CreateOutput, path, ENOENT);
    return false;
  }
  struct stat st {};
  const bool exists = ::stat(path.c_str(), &st) == 0;
  if (exists && noClobber) {
    error.Set(EngineError::Kind::OutputExists, path, EEXIST);
    return false;
  }
  if (exists && S_ISDIR(st.st_mode)) {
    error.Set(EngineError::Kind::CreateOutput, path, EISDIR);
    return false;
  }
  if (exists && !S_ISREG(st.st_mode)) {
    // A device, FIFO or socket is a stream: written into as it is, never replaced.
    m_fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (m_fd < 0) {
      error.Set(EngineError::Kind::CreateOutput, path, errno);
      return false;
    }
    m_ownsFd = m_direct = true;
    return true;
  }
  if (!ResolveLinks(path, m_target)) {
    error.Set(EngineError::Kind::CreateOutput, path, errno);
    return false;
  }
  m_folder = FolderOf(m_target);
  if (exists) {
    m_keepOwner = true;
    m_mode = st.st_mode & 07777;
    m_uid = st.st_uid;
    m_gid = st.st_gid;
  }
  return OpenTemporary(error);
}

bool OutputFile::OpenTemporary(EngineError& error) {
  const mode_t mode = m_keepOwner ? static_cast<mode_t>(m_mode) : (0666 & ~CurrentUmask());
#ifdef O_TMPFILE
  m_fd = ::open(m_folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
#endif
  if (m_fd < 0) {
    // No unnamed files here: a short hidden name, whatever the length of the TMX name.
    std::string pattern = m_folder + "/.velmar2tmx-XXXXXX";
    m_fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (m_fd < 0) {
      error.Set(EngineError::Kind::CreateOutput, m_path, errno);
      return false;
    }
    m_tempPath = pattern;
  }
  m_ownsFd = true;
  if (m_keepOwner) (void)!::fchown(m_fd, m_uid, m_gid);
  ::fchmod(m_fd, mode);
  return true;
}

bool OutputFile::Commit(EngineError& error) {
  if (m_direct) {
    CloseFd();
    return true;
  }
  if (::fsync(m_fd) != 0 && errno != EINVAL) {
    error.Set(EngineError::Kind::WriteOutput, m_path, errno);
    return false;
  }
  if (m_tempPath.empty() && !LinkInto(error)) return false;
  if (m_noClobber && !m_tempPath.empty()) {
    // link() fails where rename() would replace: an existing file is never overwritten.
    if (::link(m_tempPath.c_str(), m_target.c_str()) != 0) {
      error.Set(errno == EEXIST ? EngineError::Kind::OutputExists : EngineError::Kind::CreateOutput,
                m_path, errno);
      return false;
    }
    ::unlink(m_tempPath.c_str());
  } else if (!m_tempPath.empty() && ::rename(m_tempPath.c_str(), m_target.c_str()) != 0) {
    error.Set(EngineError::Kind::CreateOutput, m_path, errno);
    return false;
  }
  m_tempPath.clear();
  CloseFd();
  (void)SyncFolder(m_folder);
  return true;
}

// Gives the unnamed temporary file a name: straight at the target when nothing may be replaced,
// else a hidden name that Commit renames onto the target.
bool OutputFile::LinkInto(EngineError& error) {
  const std::string self = "/proc/self/fd/" + std::to_string(m_fd);
  if (m_noClobber) {
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, m_target.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      CloseFd();
      (void)SyncFolder(m_folder);
      return true;
    }
    error.Set(errno == EEXIST ? EngineError::Kind::OutputExists : EngineError::Kind::CreateOutput,
              m_path, errno);
    return false;
  }
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = m_folder + "/.velmar2tmx-XXXXXX";
    const int probe = ::mkostemp(name.data(), O_CLOEXEC);  // reserves a unique name
    if (probe < 0) break;
    ::close(probe);
    ::unlink(name.c_str());
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      m_tempPath = name;
      return true;
    }
    if (errno != EEXIST) break;
  }
  error.Set(EngineError::Kind::CreateOutput, m_path, errno);
  return false;
}

void OutputFile::Discard() {
  CloseFd();
  if (!m_tempPath.empty()) {
    ::unlink(m_tempPath.c_str());
    m_tempPath.clear();
  }
}

void OutputFile::CloseFd() {
  if (m_fd >= 0 && m_ownsFd) ::close(m_fd);
  m_fd = -1;
  m_ownsFd = false;
}
