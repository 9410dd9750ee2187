// SPDX-License-Identifier: MIT
// The string table: the texts the core writes and those both front ends show, and the
// catalogue's names, addressed by their numeric ids.
#pragma once

#include <span>
#include <string>

struct StringEntry {
  int id;
  const char* text;  // UTF-8
};

// The text of a string id, or nullptr when the table has none.
const char* LoadStringUtf8(int id);
// The text of a string id, or the empty string.
std::string LoadStringText(int id);

// Well-known ids (the desktop tool's own texts are in ui/ui_strings.h).
inline constexpr int IDS_TOOL_VERSION = 910;  // creationtoolversion of the TMX header
inline constexpr int IDS_FINISHED = 1022;     // after a conversion; holds %i for the unit count

// The language names (20002-20157) and code page names (30002-30085) of the catalogue.
std::span<const StringEntry> CatalogueStrings();
