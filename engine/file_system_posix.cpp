// SPDX-License-Identifier: MIT
// The file system of Linux and other POSIX systems.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <vector>

#include "engine/file_system.h"

namespace {

void FillFacts(const struct stat& st, FileFacts& facts) {
  facts.regular = S_ISREG(st.st_mode);
  facts.folder = S_ISDIR(st.st_mode);
  facts.mode = st.st_mode & 07777;
  facts.owner = st.st_uid;
  facts.group = st.st_gid;
  facts.device = st.st_dev;
  facts.inode = st.st_ino;
  facts.size = S_ISREG(st.st_mode) ? static_cast<uint64_t>(st.st_size) : 0;
}

// Marks fd as held: RemoveIfUnheld of another run leaves the file alone while this lock lasts
// (it ends when the descriptor is closed, whatever ends the process). A file system without
// locks leaves every file unremovable, as the remover cannot take the lock either.
void Hold(int fd) {
  while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
  }
}

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

class PosixFileSystem : public FileSystem {
 public:
  bool Facts(const std::string& path, bool followLinks, FileFacts& facts) override {
    struct stat st {};
    const int rc = followLinks ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st);
    if (rc != 0) return false;
    FillFacts(st, facts);
    return true;
  }

  bool DescriptorFacts(int fd, FileFacts& facts) override {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return false;
    FillFacts(st, facts);
    return true;
  }

  bool ReadLink(const std::string& path, std::string& text) override {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return false;
    if (!S_ISLNK(st.st_mode)) {
      errno = EINVAL;
      return false;
    }
    std::vector<char> buffer(PATH_MAX + 1);
    const ssize_t n = ::readlink(path.c_str(), buffer.data(), buffer.size() - 1);
    if (n < 0) return false;
    text.assign(buffer.data(), static_cast<size_t>(n));
    return true;
  }

  std::vector<std::string> Names(const std::string& folder) override {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return names;
    while (const struct dirent* entry = ::readdir(dir)) {
      const std::string name = entry->d_name;
      if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(dir);
    return names;
  }

  int OpenForReading(const std::string& path) override {
    return ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  }

  int CreateTruncated(const std::string& path) override {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  }

  int64_t Read(int fd, char* data, size_t size) override { return ::read(fd, data, size); }

  int OpenForWriting(const std::string& path) override {
    return ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
  }

  int CreateUnnamed(const std::string& folder) override {
#ifdef O_TMPFILE
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd >= 0) Hold(fd);
    return fd;
#else
    (void)folder;
    errno = EOPNOTSUPP;
    return -1;
#endif
  }

  int CreateNamed(const std::string& folder, const std::string& prefix,
                  std::string& path) override {
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::string pattern = folder + "/" + prefix + "XXXXXX";
      const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
      if (fd < 0) return -1;
      Hold(fd);
      // Another run may have taken the new file for a stale one before it was held.
      struct stat held {
      }, named{};
      if (::fstat(fd, &held) == 0 && ::lstat(pattern.c_str(), &named) == 0 &&
          SameFile(held, named)) {
        path = pattern;
        return fd;
      }
      ::close(fd);
    }
    errno = EEXIST;
    return -1;
  }

  bool NameUnnamed(int fd, const std::string& path) override {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0;
  }

  void SetModeAndOwner(int fd, const FileFacts* existing) override {
    if (existing) {
      (void)!::fchown(fd, existing->owner, existing->group);
      ::fchmod(fd, static_cast<mode_t>(existing->mode));
      return;
    }
    const mode_t mask = ::umask(0);  // the umask can only be read by setting it
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
  }

  int64_t Write(int fd, const char* data, size_t size) override {
    return ::write(fd, data, size);
  }

  void StartWriteback(int fd, int64_t offset, int64_t length) override {
#if defined(__linux__)
    (void)::sync_file_range(fd, offset, length, SYNC_FILE_RANGE_WRITE);
#else
    (void)fd, (void)offset, (void)length;
#endif
  }

  bool Sync(int fd) override {
    // A descriptor that cannot be synced (EINVAL) has nothing to wait for.
    return ::fsync(fd) == 0 || errno == EINVAL;
  }

  void Close(int fd) override {
    ::close(fd);
  }

  bool Rename(const std::string& from, const std::string& to) override {
    return ::rename(from.c_str(), to.c_str()) == 0;
  }

  bool Link(const std::string& from, const std::string& to) override {
    return ::link(from.c_str(), to.c_str()) == 0;
  }

  bool Remove(const std::string& path) override {
    return ::unlink(path.c_str()) == 0;
  }

  bool RemoveIfUnheld(const std::string& path) override {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return false;
    struct stat held {
    }, named{};
    bool removed = false;
    if (::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && held.st_nlink == 1 &&
        held.st_uid == ::geteuid() && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        ::lstat(path.c_str(), &named) == 0 && SameFile(held, named)) {
      removed = ::unlink(path.c_str()) == 0;
    }
    ::close(fd);
    return removed;
  }

  bool SyncFolder(const std::string& folder) override {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ::fsync(fd) == 0 || errno == EINVAL;
    ::close(fd);
    return ok;
  }
};

PosixFileSystem g_system;
std::atomic<FileSystem*> g_inUse{nullptr};

}  // namespace

size_t LastSeparator(const std::string& path) {
  return path.rfind('/');
}

FileSystem& TheFileSystem() {
  FileSystem* const replaced = g_inUse.load(std::memory_order_acquire);
  return replaced ? *replaced : g_system;
}

void SetFileSystemForTesting(FileSystem* fileSystem) {
  g_inUse.store(fileSystem, std::memory_order_release);
}
