// SPDX-License-Identifier: MIT
#include "ui_test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>

#include "ui/app.h"
#include "ui/user_prompts.h"

namespace uitest {

void InitEnvironment() {
  QStandardPaths::setTestModeEnabled(true);
  RegisterApplicationIdentity();
  // Each test program keeps its settings in a folder of its own, so that programs running side
  // by side never see each other's values.
  static QTemporaryDir settingsDir;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
  UserPrompts::SetScripted(true);
}

void ResetState() {
  QSettings settings;
  settings.clear();
  settings.sync();
  UserPrompts::ClearLog();
}

void WriteTxt(const QString& path, int units, const QStringList& codes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(path));
  QByteArray text;
  text += "<RTF Preamble>\r\n<StyleSheet>\r\n{\\stylesheet\r\n";
  text += "{\\St \\cs6 {\\StB \\v\\f1 }{\\StN korvexInternal}}\r\n";
  text += "{\\St \\cs8 {\\StB \\cf6 }{\\StN DO_NOT_TRANSLATE}}}\r\n</RTF Preamble>\r\n";
  for (int unit = 1; unit <= units; ++unit) {
    text += "<TrU>\r\n<CrD>26072002, 10:03:33\r\n<CrU>MARIA\r\n";
    for (const QString& code : codes) {
      text += "<Seg L=" + code.toLatin1() + ">Unit " + QByteArray::number(unit) + " in " +
              code.toLatin1() + " with {\\b bold} text & more\r\n";
    }
    text += "</TrU>\r\n";
  }
  file.write(text);
}

QStringList FolderEntries(const QString& folder) {
  QStringList entries =
      QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
  entries.sort();
  return entries;
}

QString ValidateTmx(const QString& path, bool* skipped) {
  *skipped = false;
  const QString dtd = QStringLiteral(VELMAR_DTD_PATH);
  const QString xmllint = QStandardPaths::findExecutable(QStringLiteral("xmllint"));
  if (!QFileInfo::exists(dtd) || xmllint.isEmpty()) {
    *skipped = true;
    return {};
  }
  QProcess lint;
  lint.start(xmllint, {QStringLiteral("--noout"), QStringLiteral("--dtdvalid"), dtd, path});
  if (!lint.waitForFinished(60000)) return QStringLiteral("xmllint did not finish");
  if (lint.exitStatus() == QProcess::NormalExit && lint.exitCode() == 0) return {};
  return QStringLiteral("xmllint rejects %1:\n%2")
      .arg(path, QString::fromLocal8Bit(lint.readAllStandardError()));
}

}  // namespace uitest
