// SPDX-License-Identifier: MIT
// The desktop tool's own texts (menu entries, tooltips, prompts, file filters, status texts),
// addressed by the ids of its dialog template; the texts it shares with the rest of the program
// (the catalogue's names, the message after a conversion) come from the string table.
#pragma once

#include <string>

#include "text/string_table.h"

inline constexpr int IDS_ABOUTBOX = 101;  // system-menu entry of the About box
inline constexpr int IDS_IDLE = 103;      // status pane 0 while idle
inline constexpr int IDS_PROGRESS = 104;  // status pane 1 at start
inline constexpr int IDS_CONFIRM_EXIT = 1016;
inline constexpr int IDS_NEED_TXT = 1017;
inline constexpr int IDS_NEED_TMX = 1018;
inline constexpr int IDS_TXT_FILTER = 1019;
inline constexpr int IDS_TMX_FILTER = 1020;
inline constexpr int IDS_EXPORTING = 1021;
inline constexpr int IDS_NOTHING_EXPORTED = 1023;
inline constexpr int IDS_APP_TITLE = 57344;

// The text of an id: the desktop tool's own, else the string table's; "" when neither has it.
std::string LoadUiText(int id);
