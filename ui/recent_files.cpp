// SPDX-License-Identifier: MIT
#include "ui/recent_files.h"

#include <QSettings>

namespace {
constexpr char kRecentKey[] = "Recent/Files";
}  // namespace

QStringList LoadRecentFiles() {
  return QSettings().value(QLatin1String(kRecentKey)).toStringList();
}

void AddRecentFile(const QString& path) {
  QStringList files = LoadRecentFiles();
  files.removeAll(path);
  files.prepend(path);
  while (files.size() > kMaxRecentFiles) files.removeLast();
  QSettings store;
  store.setValue(QLatin1String(kRecentKey), files);
  store.sync();
}
