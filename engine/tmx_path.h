// SPDX-License-Identifier: MIT
// The TMX path that goes with a TXT path, one rule for every front end.
#pragma once

#include <string>

// The TXT path with its extension replaced by ".tmx", or ".tmx" appended when the file name has
// none. A dot that begins the file name (".hidden") starts no extension.
std::string DeriveTmxPath(const std::string& txtPath);
