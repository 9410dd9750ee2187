// SPDX-License-Identifier: MIT
// File systems for the tests of how files are written: one that passes every operation on, and
// one that records them, fails one or acts during one.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/file_system.h"

namespace testutil {

// A file system that passes every operation on to the system's own, in place while it lives: a
// test overrides the operations it watches or breaks.
class FileSystemFilter : public FileSystem {
 public:
  FileSystemFilter() : m_inner(TheFileSystem()) { SetFileSystemForTesting(this); }
  ~FileSystemFilter() override { SetFileSystemForTesting(nullptr); }
  FileSystemFilter(const FileSystemFilter&) = delete;
  FileSystemFilter& operator=(const FileSystemFilter&) = delete;

  bool Facts(const std::string& path, bool followLinks, FileFacts& facts) override {
    return m_inner.Facts(path, followLinks, facts);
  }
  bool DescriptorFacts(int fd, FileFacts& facts) override {
    return m_inner.DescriptorFacts(fd, facts);
  }
  bool ReadLink(const std::string& path, std::string& text) override {
    return m_inner.ReadLink(path, text);
  }
  std::vector<std::string> Names(const std::string& folder) override {
    return m_inner.Names(folder);
  }
  int OpenForReading(const std::string& path) override { return m_inner.OpenForReading(path); }
  int CreateTruncated(const std::string& path) override { return m_inner.CreateTruncated(path); }
  int64_t Read(int fd, char* data, size_t size) override { return m_inner.Read(fd, data, size); }
  int OpenForWriting(const std::string& path) override { return m_inner.OpenForWriting(path); }
  int CreateUnnamed(const std::string& folder) override { return m_inner.CreateUnnamed(folder); }
  int CreateNamed(const std::string& folder, const std::string& prefix,
                  std::string& path) override {
    return m_inner.CreateNamed(folder, prefix, path);
  }
  bool NameUnnamed(int fd, const std::string& path) override {
    return m_inner.NameUnnamed(fd, path);
  }
  void SetModeAndOwner(int fd, const FileFacts* existing) override {
    m_inner.SetModeAndOwner(fd, existing);
  }
  int64_t Write(int fd, const char* data, size_t size) override {
    return m_inner.Write(fd, data, size);
  }
  void StartWriteback(int fd, int64_t offset, int64_t length) override {
    m_inner.StartWriteback(fd, offset, length);
  }
  bool Sync(int fd) override { return m_inner.Sync(fd); }
  void Close(int fd) override { m_inner.Close(fd); }
  bool Rename(const std::string& from, const std::string& to) override {
    return m_inner.Rename(from, to);
  }
  bool Link(const std::string& from, const std::string& to) override {
    return m_inner.Link(from, to);
  }
  bool Remove(const std::string& path) override { return m_inner.Remove(path); }
  bool RemoveIfUnheld(const std::string& path) override { return m_inner.RemoveIfUnheld(path); }
  bool SyncFolder(const std::string& folder) override { return m_inner.SyncFolder(folder); }

 protected:
  FileSystem& m_inner;
};

// The operations that make a file, in order: "unnamed" (or "unnamed refused" when refuse is
// set: a file system without unnamed files), "named", "write" (a run of writes), "sync",
// "name", "rename", "link", "remove", "sync folder". atOperation, when set, is called with each
// before it is carried out; the one named failing fails (EIO) instead.
class RecordingFileSystem : public FileSystemFilter {
 public:
  std::vector<std::string> operations;
  bool refuseUnnamed = false;
  std::string failing;
  std::function<void(const std::string&)> atOperation;

  int CreateUnnamed(const std::string& folder) override;
  int CreateNamed(const std::string& folder, const std::string& prefix, std::string& path) override;
  bool NameUnnamed(int fd, const std::string& path) override;
  int64_t Write(int fd, const char* data, size_t size) override;
  bool Sync(int fd) override;
  bool Rename(const std::string& from, const std::string& to) override;
  bool Link(const std::string& from, const std::string& to) override;
  bool Remove(const std::string& path) override;
  bool SyncFolder(const std::string& folder) override;

 private:
  bool Note(const std::string& operation);
};

}  // namespace testutil
