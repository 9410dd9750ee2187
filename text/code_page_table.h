// SPDX-License-Identifier: MIT
// The code pages compiled into the program: the start of the code page catalogue.
#pragma once

#include <span>

struct StaticCodePage {
  unsigned codePage;        // Windows code page number
  int displayStringId;      // string resource of the display name; 0 = use displayName
  const char* displayName;  // stored display name (UTF-8)
  unsigned char family;     // kFamilyWindows | kFamilyDos | kFamilyIso, 0 = never resolved to
  const char* languages;    // catalogue codes separated by single spaces; may be empty
};

// The 84 static records in ascending code page order.
std::span<const StaticCodePage> StaticCodePageTable();
