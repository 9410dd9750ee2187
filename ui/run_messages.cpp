// SPDX-License-Identifier: MIT
#include "ui/run_messages.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace {

QString Tr(const char* text) {
  return QCoreApplication::translate("RunMessages", text);
}

// A system text as the end of a sentence: "Permission denied" -> "permission denied".
QString Reason(const QString& system) {
  if (system.isEmpty()) return QCoreApplication::translate("RunMessages", "unknown cause");
  QString reason = system;
  if (reason.size() > 1 && reason.at(1).isLower()) reason[0] = reason.at(0).toLower();
  if (reason.endsWith(QLatin1Char('.'))) reason.chop(1);
  return reason;
}

// The cause of a file problem: a folder where a file is wanted says so in words of its own.
QString FileReason(const QString& path, const std::string& system) {
  if (QFileInfo(path).isDir()) return QCoreApplication::translate("RunMessages", "it is a folder");
  return Reason(QString::fromUtf8(system));
}

}  // namespace

namespace RunMessages {

// The desktop tool's translated sentence for each kind of failure, with the file and the cause
// that Describe gives.
QString FailureText(const EngineError& error) {
  const ErrorDescription d = Describe(error);
  const QString path = QFile::decodeName(d.path.c_str());
  switch (error.kind) {
    case EngineError::Kind::OpenInput:
    case EngineError::Kind::ReadInput:
      return QCoreApplication::translate("RunMessages", "The TXT file %1 cannot be read: %2.")
          .arg(path, FileReason(path, d.reason));
    case EngineError::Kind::CreateOutput:
    case EngineError::Kind::WriteOutput:
      return QCoreApplication::translate("RunMessages", "The TMX file %1 cannot be written: %2.")
          .arg(path, FileReason(path, d.reason));
    case EngineError::Kind::SameFile:
      return QCoreApplication::translate(
                 "RunMessages",
                 "The TMX file %1 is the TXT file itself. Choose another name for the TMX file.")
          .arg(path);
    case EngineError::Kind::OutputExists:
      return QCoreApplication::translate("RunMessages", "The TMX file %1 exists already.")
          .arg(path);
    case EngineError::Kind::OutOfMemory:
      return QCoreApplication::translate("RunMessages",
                                         "The TXT file %1 cannot be converted: out of memory.")
          .arg(path);
    case EngineError::Kind::None:
    case EngineError::Kind::Abandoned:
      break;
  }
  return {};
}

QString TxtProblem(const QString& path) {
  const QFileInfo info(path);
  if (info.isDir())
    return QCoreApplication::translate("RunMessages", "The TXT file %1 cannot be read: %2.")
        .arg(path, QCoreApplication::translate("RunMessages", "it is a folder"));
  // A pipe or device is left to the run: opening it here would take what it holds.
  if (info.exists() && !info.isFile()) return {};
  QFile file(path);
  if (file.open(QIODevice::ReadOnly)) return {};
  return QCoreApplication::translate("RunMessages", "The TXT file %1 cannot be read: %2.")
      .arg(path, Reason(file.errorString()));
}

QString NotAnExport(const QString& path) {
  return QCoreApplication::translate(
             "RunMessages", "No language was found in %1: it is not a Velmar Vovuzaduz TXT export.")
      .arg(path);
}

QString Finished(int units) {
  return QCoreApplication::translate(
             "RunMessages",
             "Finished exporting.\nNumber of translation units written to TMX: %1\nYour "
             "translation memory is now secure.")
      .arg(units);
}

QString NothingExported() {
  return Tr(
      "No translation units were exported to the TMX file. Please check the source and "
      "target languages. Use the \"Analyse\" button to retrieve the languages from the "
      "Velmar TXT file.");
}

QString ConfirmExit() {
  return QCoreApplication::translate("RunMessages", "Are you sure you want to exit?");
}

QString ConfirmStopAndExit() {
  return QCoreApplication::translate("RunMessages", "Stop the conversion and exit?");
}

QString Cancelled(const QString& tmxPath, bool kept) {
  if (kept)
    return QCoreApplication::translate(
               "RunMessages", "Conversion cancelled. The existing file %1 was left as it was.")
        .arg(tmxPath);
  return QCoreApplication::translate("RunMessages", "Conversion cancelled. Nothing was written.");
}

}  // namespace RunMessages
