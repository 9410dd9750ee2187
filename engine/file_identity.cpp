// SPDX-License-Identifier: MIT
#include "engine/file_identity.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "engine/file_system.h"

namespace {

constexpr int kMaxLinkHops = 40;

std::string InodeKey(const FileFacts& facts) {
  if (!facts.regular) return std::string();
  return "inode:" + std::to_string(facts.device) + ":" + std::to_string(facts.inode);
}

}  // namespace

std::string FolderOf(const std::string& path) {
  const size_t slash = LastSeparator(path);
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

bool FinalTarget(const std::string& path, std::string& target) {
  FileSystem& fs = TheFileSystem();
  target = path;
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    FileFacts facts;
    std::string link;
    if (!fs.Facts(target, false, facts)) return true;        // nothing there: the file to make
    if (!fs.ReadLink(target, link)) return errno == EINVAL;  // EINVAL: no link
    target = !link.empty() && link.front() == '/' ? link : FolderOf(target) + "/" + link;
  }
  errno = ELOOP;
  return false;
}

std::string FileIdentity(const std::string& path) {
  FileFacts facts;
  if (TheFileSystem().Facts(path, true, facts)) return InodeKey(facts);
  std::string target;
  if (path.empty() || !FinalTarget(path, target)) return std::string();
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path folder = fs::absolute(fs::path(FolderOf(target)), error);
  fs::path canonical = fs::weakly_canonical(folder, error);
  if (error) canonical = folder.lexically_normal();
  std::string name = canonical.string();
  if (name.size() > 1 && name.back() == '/') name.pop_back();  // "d/." normalises to "d/"
  const size_t slash = LastSeparator(target);
  return "new:" + name + "/" + (slash == std::string::npos ? target : target.substr(slash + 1));
}

std::string DescriptorIdentity(int fd) {
  FileFacts facts;
  return TheFileSystem().DescriptorFacts(fd, facts) ? InodeKey(facts) : std::string();
}
