// SPDX-License-Identifier: MIT
// Paths as the main dialog handles them: the TMX name derived from the TXT name, the clean-up of
// a pasted path, the existence test of a typed path, the engine's byte form of a path, and the
// file dialogs' filters.
#pragma once

#include <QString>
#include <optional>
#include <string>

// The longest TMX path the dialog derives (bytes of the file-system form). Longer results leave
// the TMX field as it was.
inline constexpr std::size_t kMaxTmxPathBytes = 4095;

// Same folder and base name as txtPath, extension ".tmx", by the engine's one rule: the extension
// is everything from the last "." of the file-name part, except a "." that begins the name
// ("/tm/a.b.txt" -> "/tm/a.b.tmx", "/tm/legal" -> "/tm/legal.tmx", "/tm/.hidden" ->
// "/tm/.hidden.tmx").
// Nothing when the result would exceed kMaxTmxPathBytes.
std::optional<QString> DeriveTmxPath(const QString& txtPath);

// A path as pasted or dropped in as text: white space around it, a pair of quotes around it and
// a "file://" prefix (with its %-escapes) removed.
QString CleanPastedPath(const QString& text);

// True when the path names anything that exists (file or folder).
bool PathExists(const QString& path);

// The path as the engine takes it: the file system's byte form.
std::string ToEnginePath(const QString& path);

// A filter of the string table ("Name|*.ext|Name|*.*||") in Qt's syntax
// ("Name (*.ext);;Name (*.*)").
QString QtFileFilter(const std::string& pairs);
