// SPDX-License-Identifier: MIT
#include "tests/core/recording_file_system.h"

#include <cerrno>

namespace testutil {

bool RecordingFileSystem::Note(const std::string& operation) {
  if (atOperation) atOperation(operation);
  if (operation != "write" || operations.empty() || operations.back() != "write") {
    operations.push_back(operation);
  }
  if (operation != failing) return true;
  errno = EIO;
  return false;
}

int RecordingFileSystem::CreateUnnamed(const std::string& folder) {
  if (refuseUnnamed) {
    (void)Note("unnamed refused");
    errno = EOPNOTSUPP;
    return -1;
  }
  if (!Note("unnamed")) return -1;
  return m_inner.CreateUnnamed(folder);
}

int RecordingFileSystem::CreateNamed(const std::string& folder, const std::string& prefix,
                                     std::string& path) {
  if (!Note("named")) return -1;
  return m_inner.CreateNamed(folder, prefix, path);
}

bool RecordingFileSystem::NameUnnamed(int fd, const std::string& path) {
  if (!Note("name")) return false;
  return m_inner.NameUnnamed(fd, path);
}

int64_t RecordingFileSystem::Write(int fd, const char* data, size_t size) {
  if (!Note("write")) return -1;
  return m_inner.Write(fd, data, size);
}

bool RecordingFileSystem::Sync(int fd) {
  if (!Note("sync")) return false;
  return m_inner.Sync(fd);
}

bool RecordingFileSystem::Rename(const std::string& from, const std::string& to) {
  if (!Note("rename")) return false;
  return m_inner.Rename(from, to);
}

bool RecordingFileSystem::Link(const std::string& from, const std::string& to) {
  if (!Note("link")) return false;
  return m_inner.Link(from, to);
}

bool RecordingFileSystem::Remove(const std::string& path) {
  if (!Note("remove")) return false;
  return m_inner.Remove(path);
}

bool RecordingFileSystem::SyncFolder(const std::string& folder) {
  if (!Note("sync folder")) return false;
  return m_inner.SyncFolder(folder);
}

}  // namespace testutil
