// SPDX-License-Identifier: MIT
// The languages that an analysis found in a TXT file, in order of first appearance.
#pragma once

#include <string>
#include <vector>

struct LanguageEntry {
  std::string name;  // display name of the resolved code, or the code itself (UTF-8)
  int codePage = 0;  // code page returned by the language-code resolution
};

using LanguageList = std::vector<LanguageEntry>;
