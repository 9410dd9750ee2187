// SPDX-License-Identifier: MIT
// The string table: every text the program shows or writes, addressed by its numeric id.
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

// Well-known ids.
inline constexpr int IDS_ABOUTBOX = 101;         // system-menu entry of the About box
inline constexpr int IDS_IDLE = 103;             // status pane 0 while idle
inline constexpr int IDS_PROGRESS = 104;         // status pane 1 at start
inline constexpr int IDS_TOOL_VERSION = 910;     // creationtoolversion of the TMX header
inline constexpr int IDS_CONFIRM_EXIT = 1016;
inline constexpr int IDS_NEED_TXT = 1017;
inline constexpr int IDS_NEED_TMX = 1018;
inline constexpr int IDS_TXT_FILTER = 1019;
inline constexpr int IDS_TMX_FILTER = 1020;
inline constexpr int IDS_EXPORTING = 1021;
inline constexpr int IDS_FINISHED = 1022;        // holds %i for the unit count
inline constexpr int IDS_NOTHING_EXPORTED = 1023;
inline constexpr int IDS_APP_TITLE = 57344;

// The language names (20002-20157) and code page names (30002-30085) of the catalogue.
std::span<const StringEntry> CatalogueStrings();
