// SPDX-License-Identifier: MIT
#include "engine/output_file.h"

#include <cerrno>
#include <string>

#include "engine/byte_sink.h"
#include "engine/file_identity.h"

namespace {

// Hidden temporary files: this prefix and six letters or digits (older versions named the
// report's ".velmar2tmx-report-" and six).
const std::string kTemporaryPrefix = ".velmar2tmx-";
const std::string kOldReportPrefix = ".velmar2tmx-report-";
constexpr size_t kUniqueLetters = 6;

bool LettersAndDigits(const std::string& text, size_t from) {
  if (text.size() != from + kUniqueLetters) return false;
  for (size_t i = from; i < text.size(); ++i) {
    const char c = text[i];
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) {
      return false;
    }
  }
  return true;
}

}  // namespace

OutputFile::OutputFile() : m_fs(TheFileSystem()) {}

OutputFile::~OutputFile() {
  Discard();
}

bool OutputFile::IsTemporaryName(const std::string& name) {
  if (name.compare(0, kOldReportPrefix.size(), kOldReportPrefix) == 0 &&
      LettersAndDigits(name, kOldReportPrefix.size())) {
    return true;
  }
  return name.compare(0, kTemporaryPrefix.size(), kTemporaryPrefix) == 0 &&
         LettersAndDigits(name, kTemporaryPrefix.size());
}

bool OutputFile::Open(const std::string& path, int fd, bool noClobber, EngineError& error) {
  m_path = path;
  m_noClobber = noClobber;
  if (fd >= 0) {
    m_fd = fd;
    m_direct = true;
    return true;
  }
  if (path.empty()) return Fail(error, EngineError::Kind::CreateOutput, ENOENT);
  FileFacts facts;
  const bool exists = m_fs.Facts(path, true, facts);
  if (exists && noClobber) return Fail(error, EngineError::Kind::OutputExists, EEXIST);
  if (exists && facts.folder) return Fail(error, EngineError::Kind::CreateOutput, EISDIR);
  if (exists && !facts.regular) {
    // A device, FIFO or socket is a stream: written into as it is, never replaced.
    m_fd = m_fs.OpenForWriting(path);
    if (m_fd < 0) return Fail(error, EngineError::Kind::CreateOutput, errno);
    m_ownsFd = m_direct = true;
    return true;
  }
  if (!FinalTarget(path, m_target)) return Fail(error, EngineError::Kind::CreateOutput, errno);
  m_folder = FolderOf(m_target);
  m_replaces = exists;
  m_existing = facts;
  return OpenTemporary(error);
}

bool OutputFile::OpenTemporary(EngineError& error) {
  RemoveStaleTemporaries();
  m_fd = m_fs.CreateUnnamed(m_folder);
  if (m_fd < 0) {
    // No unnamed files here: a short hidden name, whatever the length of the final name.
    m_fd = m_fs.CreateNamed(m_folder, kTemporaryPrefix, m_tempPath);
    if (m_fd < 0) return Fail(error, EngineError::Kind::CreateOutput, errno);
  }
  m_ownsFd = true;
  m_fs.SetModeAndOwner(m_fd, m_replaces ? &m_existing : nullptr);
  return true;
}

void OutputFile::RemoveStaleTemporaries() {
  for (const std::string& name : m_fs.Names(m_folder)) {
    if (IsTemporaryName(name)) (void)m_fs.RemoveIfUnheld(m_folder + "/" + name);
  }
}

bool OutputFile::Commit(EngineError& error, const std::function<bool()>& stopAsked) {
  if (m_direct) {
    CloseFd();
    return true;
  }
  if (!m_fs.Sync(m_fd)) return Fail(error, EngineError::Kind::WriteOutput, errno);
  if (stopAsked && stopAsked()) return Fail(error, EngineError::Kind::Abandoned, 0);
  if (!PutInPlace(error)) {
    Discard();
    return false;
  }
  CloseFd();
  (void)m_fs.SyncFolder(m_folder);
  return true;
}

// Links the synced file at the target (when nothing may be replaced) or renames it over it.
bool OutputFile::PutInPlace(EngineError& error) {
  const auto kindOf = [](int number) {
    return number == EEXIST ? EngineError::Kind::OutputExists : EngineError::Kind::CreateOutput;
  };
  if (m_tempPath.empty() && m_noClobber) {
    if (m_fs.NameUnnamed(m_fd, m_target)) return true;
    error.Set(kindOf(errno), m_path, errno);
    return false;
  }
  if (m_tempPath.empty() && !NameHidden(error)) return false;
  if (m_noClobber) {
    // A link fails where a rename would replace: an existing file is never overwritten.
    if (!m_fs.Link(m_tempPath, m_target)) {
      error.Set(kindOf(errno), m_path, errno);
      return false;
    }
    (void)m_fs.Remove(m_tempPath);
  } else if (!m_fs.Rename(m_tempPath, m_target)) {
    error.Set(EngineError::Kind::CreateOutput, m_path, errno);
    return false;
  }
  m_tempPath.clear();
  return true;
}

// Gives the unnamed file a hidden name in its folder, to be renamed onto the target.
bool OutputFile::NameHidden(EngineError& error) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name;
    const int probe = m_fs.CreateNamed(m_folder, kTemporaryPrefix, name);  // a unique name
    if (probe < 0) break;
    (void)m_fs.Remove(name);
    m_fs.Close(probe);
    if (m_fs.NameUnnamed(m_fd, name)) {
      m_tempPath = name;
      return true;
    }
    if (errno != EEXIST) break;
  }
  error.Set(EngineError::Kind::CreateOutput, m_path, errno);
  return false;
}

bool OutputFile::WriteAll(const std::string& bytes, EngineError& error) {
  FdSink sink(m_fd, false);
  if (sink.Write(bytes.data(), bytes.size()) && sink.Flush()) return true;
  return Fail(error, EngineError::Kind::WriteOutput, sink.Error());
}

EngineError WriteWholeFile(const std::string& path, const std::string& bytes) {
  OutputFile file;
  EngineError error;
  (void)(file.Open(path, -1, false, error) && file.WriteAll(bytes, error) && file.Commit(error));
  return error;
}

bool OutputFile::Fail(EngineError& error, EngineError::Kind kind, int number) {
  error.Set(kind, m_path, number);
  Discard();
  return false;
}

void OutputFile::Discard() {
  if (!m_tempPath.empty()) {
    (void)m_fs.Remove(m_tempPath);  // while still held: no other run takes it meanwhile
    m_tempPath.clear();
  }
  CloseFd();
}

void OutputFile::CloseFd() {
  if (m_fd >= 0 && m_ownsFd) m_fs.Close(m_fd);
  m_fd = -1;
  m_ownsFd = false;
}
