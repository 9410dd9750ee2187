// SPDX-License-Identifier: MIT
// The string table's texts as the desktop tool shows them: in the user's language where a
// translation is loaded (translation context "StringTable", keyed by the English text).
#pragma once

#include <QString>
#include <string>

// The text of a string table id, translated.
QString UiText(int id);
// A text the engine reports ("Exporting...", "Idle"), translated.
QString UiText(const std::string& text);
