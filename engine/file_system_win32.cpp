// SPDX-License-Identifier: MIT
// The file system of Windows. Paths arrive as UTF-8 and go to the wide-character calls (a long
// one as an extended "\\?\" path); files are opened as handles that let others read, write and
// delete, so that the file being written can be renamed into place or removed while open, and are
// used as C runtime descriptors in binary mode.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <random>

#include "engine/file_system.h"

namespace {

constexpr size_t kLongPath = MAX_PATH - 12;  // room for a file name under a folder's limit
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::wstring Wide(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int n =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

std::string Utf8(const wchar_t* text, size_t length) {
  if (length == 0) return std::string();
  const int n =
      WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), out.data(), n, nullptr, nullptr);
  return out;
}

// The path for the wide calls: backslashes, and past the classic limit the full path with the
// "\\?\" prefix (UNC paths as "\\?\UNC\server\share").
std::wstring ApiPath(const std::string& path) {
  std::wstring wide = Wide(path);
  std::replace(wide.begin(), wide.end(), L'/', L'\\');
  if (wide.size() < kLongPath || wide.rfind(L"\\\\?\\", 0) == 0) return wide;
  const DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (size == 0) return wide;
  std::wstring full(size, L'\0');
  const DWORD n = GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
  full.resize(n);
  if (full.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

int ErrnoOf(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
      return EACCES;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return EEXIST;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
      return EINVAL;
    case ERROR_DIRECTORY:
      return ENOTDIR;
    case ERROR_FILENAME_EXCED_RANGE:
      return ENAMETOOLONG;
    case ERROR_NOT_SAME_DEVICE:
      return EXDEV;
    default:
      return EIO;
  }
}

bool Failed() {
  errno = ErrnoOf(GetLastError());
  return false;
}

HANDLE OpenHandle(const std::string& path, DWORD access, DWORD disposition, DWORD flags) {
  return CreateFileW(ApiPath(path).c_str(), access, kShareAll, nullptr, disposition, flags,
                     nullptr);
}

// A descriptor over the handle (which it then owns); -1 with errno set when there is none.
int Descriptor(HANDLE handle, int flags) {
  if (handle == INVALID_HANDLE_VALUE) {
    Failed();
    return -1;
  }
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), flags | _O_BINARY);
  if (fd < 0) {
    CloseHandle(handle);
    errno = EMFILE;
  }
  return fd;
}

HANDLE HandleOf(int fd) {
  return reinterpret_cast<HANDLE>(_get_osfhandle(fd));
}

bool FillFacts(HANDLE handle, FileFacts& facts) {
  facts = FileFacts();
  if (GetFileType(handle) != FILE_TYPE_DISK) return true;  // a console, a pipe, NUL
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(handle, &info)) return Failed();
  facts.folder = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  facts.regular = !facts.folder;
  facts.mode = info.dwFileAttributes;  // the attributes stand in for the mode
  facts.device = info.dwVolumeSerialNumber;
  facts.inode = (uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
  facts.size = (uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
  return true;
}

// Six letters or digits, different in every call and every process.
std::string UniqueLetters() {
  static std::atomic<unsigned> counter{0};
  static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::mt19937 random(
      static_cast<unsigned>(std::chrono::high_resolution_clock::now().time_since_epoch().count() ^
                            (GetCurrentProcessId() << 16) ^ counter.fetch_add(1)));
  std::string out;
  for (int i = 0; i < 6; ++i) out += kLetters[random() % 62];
  return out;
}

class WindowsFileSystem : public FileSystem {
 public:
  bool Facts(const std::string& path, bool followLinks, FileFacts& facts) override {
    const DWORD flags =
        FILE_FLAG_BACKUP_SEMANTICS | (followLinks ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
    const HANDLE handle = OpenHandle(path, 0, OPEN_EXISTING, flags);
    if (handle == INVALID_HANDLE_VALUE) return Failed();
    const bool ok = FillFacts(handle, facts);
    CloseHandle(handle);
    return ok;
  }

  bool DescriptorFacts(int fd, FileFacts& facts) override {
    const HANDLE handle = HandleOf(fd);
    if (handle == INVALID_HANDLE_VALUE) {
      errno = EBADF;
      return false;
    }
    return FillFacts(handle, facts);
  }

  bool ReadLink(const std::string&, std::string&) override {
    errno = EINVAL;  // links are followed by the system when a file is opened
    return false;
  }

  std::vector<std::string> Names(const std::string& folder) override {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    const HANDLE find = FindFirstFileW((ApiPath(folder) + L"\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
      const std::string name = Utf8(found.cFileName, wcslen(found.cFileName));
      if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileW(find, &found));
    FindClose(find);
    return names;
  }

  int OpenForReading(const std::string& path) override {
    if (path == "/dev/stdin") return _dup(0);
    return Descriptor(OpenHandle(path, GENERIC_READ, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN),
                      _O_RDONLY);
  }

  int CreateTruncated(const std::string& path) override {
    return Descriptor(OpenHandle(path, GENERIC_WRITE, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL), 0);
  }

  int64_t Read(int fd, char* data, size_t size) override {
    return _read(fd, data, static_cast<unsigned>(std::min<size_t>(size, 1u << 30)));
  }

  int OpenForWriting(const std::string& path) override {
    if (path == "/dev/stdout") return _dup(1);
    return Descriptor(OpenHandle(path, GENERIC_WRITE, OPEN_EXISTING, 0), 0);
  }

  int CreateUnnamed(const std::string&) override {
    errno = ENOSYS;  // no file without a name here
    return -1;
  }

  int CreateNamed(const std::string& folder, const std::string& prefix,
                  std::string& path) override {
    for (int attempt = 0; attempt < 100; ++attempt) {
      const std::string name = folder + "/" + prefix + UniqueLetters();
      const HANDLE handle =
          OpenHandle(name, GENERIC_READ | GENERIC_WRITE, CREATE_NEW, FILE_ATTRIBUTE_NORMAL);
      if (handle == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_EXISTS) continue;
      const int fd = Descriptor(handle, 0);
      if (fd >= 0) path = name;
      return fd;
    }
    errno = EEXIST;
    return -1;
  }

  bool NameUnnamed(int, const std::string&) override {
    errno = ENOSYS;
    return false;
  }

  // The replaced file's attributes (hidden, system, not indexed...) go to the new one; a
  // read-only file is not replaced (the rename fails), as Windows keeps it.
  void SetModeAndOwner(int fd, const FileFacts* existing) override {
    if (!existing) return;
    FILE_BASIC_INFO info{};
    info.FileAttributes =
        (existing->mode & ~DWORD{FILE_ATTRIBUTE_READONLY}) | FILE_ATTRIBUTE_ARCHIVE;
    SetFileInformationByHandle(HandleOf(fd), FileBasicInfo, &info, sizeof info);
  }

  int64_t Write(int fd, const char* data, size_t size) override {
    return _write(fd, data, static_cast<unsigned>(std::min<size_t>(size, 1u << 30)));
  }

  void StartWriteback(int, int64_t, int64_t) override {}

  bool Sync(int fd) override {
    if (FlushFileBuffers(HandleOf(fd))) return true;
    // A console, a pipe or NUL has nothing to wait for.
    const DWORD error = GetLastError();
    return error == ERROR_INVALID_HANDLE || error == ERROR_INVALID_FUNCTION || Failed();
  }

  void Close(int fd) override { _close(fd); }

  // A read-only file is not replaced, as Windows itself refuses to (Wine would replace it).
  bool Rename(const std::string& from, const std::string& to) override {
    const DWORD attributes = GetFileAttributesW(ApiPath(to).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
      errno = EACCES;
      return false;
    }
    return MoveFileExW(ApiPath(from).c_str(), ApiPath(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ||
           Failed();
  }

  bool Link(const std::string& from, const std::string& to) override {
    return CreateHardLinkW(ApiPath(to).c_str(), ApiPath(from).c_str(), nullptr) || Failed();
  }

  bool Remove(const std::string& path) override {
    return DeleteFileW(ApiPath(path).c_str()) || Failed();
  }

  // A file that no one has open can be opened without sharing; it goes when that handle closes.
  bool RemoveIfUnheld(const std::string& path) override {
    const HANDLE handle =
        CreateFileW(ApiPath(path).c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                    FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return Failed();
    CloseHandle(handle);
    return true;
  }

  bool SyncFolder(const std::string&) override {
    return true;  // a rename with MOVEFILE_WRITE_THROUGH is on the disk when it returns
  }
};

WindowsFileSystem g_system;
std::atomic<FileSystem*> g_inUse{nullptr};

}  // namespace

size_t LastSeparator(const std::string& path) {
  return path.find_last_of("/\\");
}

FileSystem& TheFileSystem() {
  FileSystem* const replaced = g_inUse.load(std::memory_order_acquire);
  return replaced ? *replaced : g_system;
}

void SetFileSystemForTesting(FileSystem* fileSystem) {
  g_inUse.store(fileSystem, std::memory_order_release);
}
