// SPDX-License-Identifier: MIT
// Paths as the main dialog handles them: the TMX name derived from the TXT name, the existence
// test of a typed path, the engine's byte form of a path, and the file dialogs' filters.
#pragma once

#include <QString>
#include <optional>
#include <string>

// The longest TMX path the dialog derives (bytes of the file-system form). Longer results leave
// the TMX field as it was.
inline constexpr std::size_t kMaxTmxPathBytes = 4095;

// Same folder and base name as txtPath, extension ".tmx": the extension is everything from the
// last "." of the file-name part ("/tm/a.b.txt" -> "/tm/a.b.tmx", "/tm/legal" -> "/tm/legal.tmx").
// Nothing when the result would exceed kMaxTmxPathBytes.
std::optional<QString> DeriveTmxPath(const QString& txtPath);

// True when the path names anything that exists (file or folder).
bool PathExists(const QString& path);

// The path as the engine takes it: the file system's byte form.
std::string ToEnginePath(const QString& path);

// A filter of the string table ("Name|*.ext|Name|*.*||") in Qt's syntax
// ("Name (*.ext);;Name (*.*)").
QString QtFileFilter(const std::string& pairs);
