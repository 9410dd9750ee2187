// SPDX-License-Identifier: MIT
// Which file a path names, so that two spellings of one file ("a/../d/x.tmx" and "./d/x.tmx", a
// linked folder, a hard link) are known to be one.
#pragma once

#include <string>

// The folder part of path ("." when there is none).
std::string FolderOf(const std::string& path);

// The path with every symbolic link of its last component followed; the final target need not
// exist. False with errno set on a loop or an unreadable link.
bool FinalTarget(const std::string& path, std::string& target);

// Equal for two paths that name the same file: the device and inode of an existing regular
// file, the canonical folder and the name of a file yet to be made. Empty for what is written
// into rather than replaced (a device, a FIFO, a socket) and for a folder.
std::string FileIdentity(const std::string& path);
// The same for the file open at descriptor fd (empty when it is no regular file).
std::string DescriptorIdentity(int fd);
