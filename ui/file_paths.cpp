// SPDX-License-Identifier: MIT
#include "ui/file_paths.h"

#include <unistd.h>

#include <QFile>
#include <QStringList>
#include <QUrl>

#include "engine/tmx_path.h"

std::optional<QString> DeriveTmxPath(const QString& txtPath) {
  const QString tmx = QFile::decodeName(::DeriveTmxPath(ToEnginePath(txtPath)).c_str());
  if (static_cast<std::size_t>(QFile::encodeName(tmx).size()) > kMaxTmxPathBytes) {
    return std::nullopt;
  }
  return tmx;
}

QString CleanPastedPath(const QString& text) {
  QString path = text.trimmed();
  if (path.size() >= 2) {
    const QChar first = path.front();
    if ((first == QLatin1Char('"') || first == QLatin1Char('\'')) && path.back() == first) {
      path = path.mid(1, path.size() - 2).trimmed();
    }
  }
  if (path.startsWith(QStringLiteral("file://"), Qt::CaseInsensitive)) {
    const QUrl url(path);
    path = url.isLocalFile() ? url.toLocalFile() : path.mid(7);
  }
  return path;
}

bool PathExists(const QString& path) {
  if (path.isEmpty()) return false;
  const QByteArray bytes = QFile::encodeName(path);
  return ::access(bytes.constData(), F_OK) == 0;
}

std::string ToEnginePath(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

QString QtFileFilter(const std::string& pairs) {
  const QStringList parts = QString::fromUtf8(pairs).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    if (parts[i].isEmpty()) break;
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
  }
  return filters.join(QStringLiteral(";;"));
}
