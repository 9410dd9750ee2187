// SPDX-License-Identifier: MIT
// Where the TMX bytes go. A regular file is written under a temporary name in the folder of the
// path's final target (symbolic links resolved, so the links stay) and appears there only when
// complete; unnamed (O_TMPFILE) where the file system allows it, so that not even a killed
// process leaves a file behind. A path that names a device, a FIFO or a socket, and an open
// descriptor such as standard output, are written straight into.
#pragma once

#include <string>

#include "engine/export_request.h"

class OutputFile {
 public:
  OutputFile() = default;
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
  // Makes the written bytes the file at the path: flushed to the disk, then linked or renamed
  // into place, then the folder flushed. An existing regular file keeps its mode and owner.
  [[nodiscard]] bool Commit(EngineError& error);
  // Drops what was written: whatever was at the path stays as it was.
  void Discard();

 private:
  bool OpenTemporary(EngineError& error);
  bool LinkInto(EngineError& error);
  void CloseFd();

  std::string m_path;      // as the user named it (for messages)
  std::string m_target;    // the final target: symbolic links resolved
  std::string m_folder;    // the target's folder
  std::string m_tempPath;  // the named temporary file, when O_TMPFILE was not available
  int m_fd = -1;
  bool m_ownsFd = false;
  bool m_direct = false;  // written straight into: nothing to commit or discard
  bool m_noClobber = false;
  bool m_keepOwner = false;  // an existing regular file: its mode and owner carry over
  unsigned m_mode = 0;
  unsigned m_uid = 0, m_gid = 0;
};
