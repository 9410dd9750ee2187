// SPDX-License-Identifier: MIT
// The file operations through which the program's files are read and written: one interface, one
// implementation per system (file_system_posix.cpp, file_system_win32.cpp). Paths are UTF-8.
// Everything else reaches the system's files through TheFileSystem(), so that a test can record the
// operations, make one fail or stop the run in the middle of one. Failures give false or -1 with
// errno set.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// What is at a path or behind a descriptor.
struct FileFacts {
  bool regular = false;  // a regular file (not a folder, device, FIFO or socket)
  bool folder = false;
  unsigned mode = 0;  // permission bits
  unsigned owner = 0, group = 0;
  uint64_t device = 0, inode = 0;
  uint64_t size = 0;  // bytes of a regular file
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // What is at path (followLinks: what a symbolic link names); false when nothing is there.
  virtual bool Facts(const std::string& path, bool followLinks, FileFacts& facts) = 0;
  virtual bool DescriptorFacts(int fd, FileFacts& facts) = 0;
  // The text of the symbolic link at path.
  virtual bool ReadLink(const std::string& path, std::string& text) = 0;
  // The names in folder (without "." and "..").
  virtual std::vector<std::string> Names(const std::string& folder) = 0;

  // Opens a file for reading (files of any size).
  virtual int OpenForReading(const std::string& path) = 0;
  // Creates the file or empties the existing one, for writing.
  virtual int CreateTruncated(const std::string& path) = 0;
  // Reads up to size bytes; the count read (0 at the end), or -1.
  virtual int64_t Read(int fd, char* data, size_t size) = 0;

  // Opens an existing file (a device, a FIFO) for writing into it.
  virtual int OpenForWriting(const std::string& path) = 0;
  // A new file without a name in folder; -1 where the file system makes none.
  virtual int CreateUnnamed(const std::string& folder) = 0;
  // A new file in folder named prefix and six letters or digits; path receives its path.
  virtual int CreateNamed(const std::string& folder, const std::string& prefix,
                          std::string& path) = 0;
  // Gives the file of CreateUnnamed the name path; fails when path exists.
  virtual bool NameUnnamed(int fd, const std::string& path) = 0;
  // The mode and owner of existing (an existing file being replaced), or the mode a new file
  // gets (the umask applied) when existing is null.
  virtual void SetModeAndOwner(int fd, const FileFacts* existing) = 0;

  // Writes up to size bytes; the count written, or -1.
  virtual int64_t Write(int fd, const char* data, size_t size) = 0;
  // Asks the system to start writing the range to the disk now (only a hint).
  virtual void StartWriteback(int fd, int64_t offset, int64_t length) = 0;
  // Waits until what was written to fd is on the disk.
  virtual bool Sync(int fd) = 0;
  virtual void Close(int fd) = 0;

  // Puts from in the place of to, replacing what was there.
  virtual bool Rename(const std::string& from, const std::string& to) = 0;
  // A second name for from; fails when to exists.
  virtual bool Link(const std::string& from, const std::string& to) = 0;
  virtual bool Remove(const std::string& path) = 0;
  // Removes the file at path when it is a regular file of this user that no running program
  // holds (a file of CreateNamed or CreateUnnamed is held until it is closed).
  virtual bool RemoveIfUnheld(const std::string& path) = 0;
  // Waits until the names in folder are on the disk.
  virtual bool SyncFolder(const std::string& folder) = 0;
};

// The index of the last folder separator in path ('/', and on Windows also '\\'), or npos.
size_t LastSeparator(const std::string& path);

// The file system in use: the system's own unless a test put another in its place.
FileSystem& TheFileSystem();
// Puts fileSystem in place of the system's own (nullptr: back to it). Not for use while files
// are being written.
void SetFileSystemForTesting(FileSystem* fileSystem);
