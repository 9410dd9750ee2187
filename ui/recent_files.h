// SPDX-License-Identifier: MIT
// The TXT files the user worked with last, newest first, kept in the settings ("Recent/Files").
#pragma once

#include <QStringList>

inline constexpr int kMaxRecentFiles = 8;

QStringList LoadRecentFiles();
// Puts path first (once), keeping at most kMaxRecentFiles entries.
void AddRecentFile(const QString& path);
