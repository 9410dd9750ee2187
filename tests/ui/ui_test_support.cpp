// SPDX-License-Identifier: MIT
#include "ui_test_support.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <csignal>

#include "ui/app.h"
#include "ui/main_dialog.h"
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

bool WaitUntilIdle(CMainDlg& dialog) {
  QSignalSpy finished(&dialog, &CMainDlg::commandFinished);
  // A typed path is taken after a pause; a finished command can start the next one (a TXT path
  // changed during a conversion).
  QElapsedTimer waited;
  waited.start();
  while (dialog.IsBusy() || dialog.PathChangePending()) {
    if (waited.elapsed() > 60000) return false;
    if (dialog.PathChangePending()) {
      QTest::qWait(20);
    } else if (!finished.wait(60000)) {
      return false;
    }
  }
  return true;
}

void WriteTxt(const QString& path, int units, const QStringList& codes) {
  WriteTxtUnits(path, QList<QStringList>(units, codes));
}

void WriteTxtUnits(const QString& path, const QList<QStringList>& units, const QByteArray& tail) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(path));
  QByteArray text;
  text += "<RTF Preamble>\r\n<StyleSheet>\r\n{\\stylesheet\r\n";
  text += "{\\St \\cs6 {\\StB \\v\\f1 }{\\StN korvexInternal}}\r\n";
  text += "{\\St \\cs8 {\\StB \\cf6 }{\\StN DO_NOT_TRANSLATE}}}\r\n</RTF Preamble>\r\n";
  for (qsizetype unit = 1; unit <= units.size(); ++unit) {
    text += "<TrU>\r\n<CrD>26072002, 10:03:33\r\n<CrU>MARIA\r\n";
    for (const QString& code : units[unit - 1]) {
      text += "<Seg L=" + code.toLatin1() + ">Unit " + QByteArray::number(unit) + " in " +
              code.toLatin1() + tail + "\r\n";
    }
    text += "</TrU>\r\n";
  }
  file.write(text);
}

EndlessTxt::EndlessTxt(const QString& path) : m_path(QFile::encodeName(path).toStdString()) {
  // A write to a FIFO whose reader has gone fails with EPIPE instead of ending the program.
  std::signal(SIGPIPE, SIG_IGN);
  m_created = ::mkfifo(m_path.c_str(), 0600) == 0;
  if (m_created) m_writer = std::thread([this] { Feed(); });
}

EndlessTxt::~EndlessTxt() {
  if (!m_writer.joinable()) return;
  m_quit = true;
  // A writer still waiting in open() for a reader gets one, sees the quit flag and leaves.
  const int reader = ::open(m_path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  // And one that waits for room in the pipe gets it.
  char drained[4096];
  while (!m_done) {
    if (reader < 0 || ::read(reader, drained, sizeof drained) <= 0) std::this_thread::yield();
  }
  m_writer.join();
  if (reader >= 0) ::close(reader);
}

void EndlessTxt::Feed() {
  const int fd = ::open(m_path.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) {
    m_done = true;
    return;
  }
  QByteArray text = "<RTF Preamble>\r\n<StyleSheet>\r\n{\\stylesheet\r\n</RTF Preamble>\r\n";
  for (int unit = 1; !m_quit; ++unit) {
    text += "<TrU>\r\n<CrD>26072002, 10:03:33\r\n<Seg L=EN-US>Unit " + QByteArray::number(unit) +
            "\r\n<Seg L=DE>Einheit " + QByteArray::number(unit) + "\r\n</TrU>\r\n";
    if (::write(fd, text.constData(), static_cast<size_t>(text.size())) < 0) break;
    text.clear();
  }
  ::close(fd);
  m_done = true;
}

QStringList FolderEntries(const QString& folder) {
  QStringList entries =
      QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
  entries.sort();
  return entries;
}

QString ValidateTmx(const QString& path) {
  const QString dtd = QStringLiteral(VELMAR_DTD_PATH);
  if (!QFileInfo::exists(dtd)) return QStringLiteral("the TMX 1.4 DTD %1 is missing").arg(dtd);
  const QString xmllint = QStandardPaths::findExecutable(QStringLiteral("xmllint"));
  if (xmllint.isEmpty()) {
    return QStringLiteral("xmllint (Debian package libxml2-utils) is missing: cannot check %1")
        .arg(path);
  }
  QProcess lint;
  lint.start(xmllint, {QStringLiteral("--noout"), QStringLiteral("--nonet"),
                       QStringLiteral("--dtdvalid"), dtd, path});
  if (!lint.waitForFinished(60000)) return QStringLiteral("xmllint did not finish");
  if (lint.exitStatus() == QProcess::NormalExit && lint.exitCode() == 0) return {};
  return QStringLiteral("xmllint rejects %1:\n%2")
      .arg(path, QString::fromLocal8Bit(lint.readAllStandardError()));
}

}  // namespace uitest
