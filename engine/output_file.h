// SPDX-License-Identifier: MIT
// Where a file the program writes goes (the TMX, the report). A regular file is written under a
// temporary name in the folder of the path's final target (symbolic links resolved, so the
// links stay) and appears there only when complete; unnamed where the file system allows it,
// so that not even a killed process leaves a file behind. A path that names a device, a FIFO or
// a socket, and an open descriptor such as standard output, are written straight into. Hidden
// temporary files that an earlier run left in the folder (killed, or where files cannot be
// unnamed) are removed once no program holds them.
#pragma once

#include <functional>
#include <string>

#include "engine/export_request.h"
#include "engine/file_system.h"

class OutputFile {
 public:
  OutputFile();
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Prepares the output for path (or for the open descriptor fd when it is not -1). False with
  // the reason in error: a folder, a missing folder, no room for the temporary file, or an
  // existing file that noClobber forbids replacing.
  [[nodiscard]] bool Open(const std::string& path, int fd, bool noClobber, EngineError& error);
  // The descriptor to write to.
  int Fd() const { return m_fd; }
  // True when Commit syncs the file to the disk (not for a stream or a given descriptor).
  bool SyncedOnCommit() const { return !m_direct; }
  // Makes the written bytes the file at the path, in one step: synced to the disk; then
  // stopAsked (when given) has the last word: true drops the file (error Abandoned); then the
  // file is linked or renamed into place and the folder synced. From the rename on the file is
  // in place whatever happens. An existing regular file keeps its mode and owner. On failure
  // whatever was at the path stays as it was.
  [[nodiscard]] bool Commit(EngineError& error, const std::function<bool()>& stopAsked = {});
  // Drops what was written: whatever was at the path stays as it was.
  void Discard();
  // Writes all of bytes to the file (for files written in one piece); false with the reason in
  // error, and what was written dropped.
  [[nodiscard]] bool WriteAll(const std::string& bytes, EngineError& error);

  // Whether name is that of a hidden temporary file of this program.
  static bool IsTemporaryName(const std::string& name);

 private:
  bool OpenTemporary(EngineError& error);
  void RemoveStaleTemporaries();
  bool PutInPlace(EngineError& error);
  bool NameHidden(EngineError& error);
  bool Fail(EngineError& error, EngineError::Kind kind, int number);
  void CloseFd();

  FileSystem& m_fs;
  std::string m_path;      // as the user named it (for messages)
  std::string m_target;    // the final target: symbolic links resolved
  std::string m_folder;    // the target's folder
  std::string m_tempPath;  // the named temporary file, when it has a name
  int m_fd = -1;
  bool m_ownsFd = false;
  bool m_direct = false;  // written straight into: nothing to commit or discard
  bool m_noClobber = false;
  bool m_replaces = false;  // an existing regular file: its mode and owner carry over
  FileFacts m_existing;
};

// Writes bytes as the whole file at path through an OutputFile: complete or not at all. The
// error (kind CreateOutput or WriteOutput) when that fails.
[[nodiscard]] EngineError WriteWholeFile(const std::string& path, const std::string& bytes);
