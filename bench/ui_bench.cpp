// SPDX-License-Identifier: MIT
// The desktop tool's conversion speed against the command line's on the same file, in the same
// run. The main dialog runs offscreen: the file is chosen (analysis, preselection), then
// "&Protect" converts it on the dialog's worker thread with the progress bar moving and the
// window repainting; the time runs until the dialog reports the command finished, the result
// message answered automatically. Then velmar2tmx-cli converts the same file with the same
// languages. Each side runs several times; the best times and their ratio are printed.
//   velmar-ui-bench [TXT-FILE] [--runs N]
// Without a file, the command line's throughput benchmark file (200,000 plain units, at least
// 65 MB) is generated in a temporary folder.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/txt_generator.h"
#include "ui/app.h"
#include "ui/main_dialog.h"
#include "ui/status_bar.h"
#include "ui/user_prompts.h"

namespace {

// Counts the paint events of a widget: proof that the window repainted during the run.
class PaintCounter : public QObject {
 public:
  int paints = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return QObject::eventFilter(watched, event);
  }
};

// Runs the events of the window until the dialog's running command has finished.
void WaitForCommand(CMainDlg& dialog) {
  if (!dialog.IsBusy()) return;
  QEventLoop loop;
  QObject::connect(&dialog, &CMainDlg::commandFinished, &loop, &QEventLoop::quit);
  loop.exec();
}

struct GuiRun {
  double seconds = 0;
  int paints = 0;
  QString message;
};

GuiRun ConvertInDialog(CMainDlg& dialog, const QString& tmx) {
  QFile::remove(tmx);
  dialog.findChild<QLineEdit*>(QStringLiteral("tmxPathEdit"))->setText(tmx);
  PaintCounter counter;
  dialog.StatusBar()->installEventFilter(&counter);
  UserPrompts::ClearLog();
  QElapsedTimer timer;
  timer.start();
  dialog.findChild<QPushButton*>(QStringLiteral("protectButton"))->click();
  WaitForCommand(dialog);
  GuiRun run;
  run.seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
  dialog.StatusBar()->removeEventFilter(&counter);
  run.paints = counter.paints;
  if (!UserPrompts::Messages().empty()) run.message = UserPrompts::Messages().back().text;
  return run;
}

double ConvertWithCli(const QString& cli, const QStringList& arguments) {
  QProcess process;
  process.setStandardOutputFile(QProcess::nullDevice());
  process.setStandardErrorFile(QProcess::nullDevice());
  QElapsedTimer timer;
  timer.start();
  process.start(cli, arguments);
  if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit ||
      process.exitCode() != 0) {
    return -1;
  }
  return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  RegisterApplicationIdentity();
  QTemporaryDir work;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, work.path());
  UserPrompts::SetScripted(true);

  QString txt;
  int runs = 3;
  const QStringList args = QCoreApplication::arguments();
  for (qsizetype i = 1; i < args.size(); ++i) {
    if (args[i] == QStringLiteral("--runs") && i + 1 < args.size()) {
      runs = qMax(1, args[++i].toInt());
    } else {
      txt = args[i];
    }
  }
  if (txt.isEmpty()) {
    txt = QDir(work.path()).filePath(QStringLiteral("bench.txt"));
    std::printf("generating %s ...\n", qPrintable(txt));
    if (WriteTxtFile(txt.toStdString(), 200000, 65'000'000, SegmentStyle::Plain) < 0) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(txt));
      return 3;
    }
  }
  txt = QFileInfo(txt).absoluteFilePath();
  if (!QFileInfo::exists(txt)) {
    std::fprintf(stderr, "usage: velmar-ui-bench [TXT-FILE] [--runs N]\n");
    return 2;
  }
  const QString cli = QStringLiteral(VELMAR_CLI_PATH);
  const QString guiTmx = QDir(work.path()).filePath(QStringLiteral("gui.tmx"));
  const QString cliTmx = QDir(work.path()).filePath(QStringLiteral("cli.tmx"));

  CMainDlg dialog;
  dialog.show();
  QApplication::processEvents();
  dialog.findChild<QLineEdit*>(QStringLiteral("txtPathEdit"))->setText(txt);
  WaitForCommand(dialog);
  const QString source = QString::fromStdString(dialog.SourceLanguageCode());
  const QString target = QString::fromStdString(dialog.TargetLanguageCode());
  std::printf("file %s (%.1f MB), languages %s -> %s, best of %d runs\n", qPrintable(txt),
              static_cast<double>(QFileInfo(txt).size()) / 1e6, qPrintable(source),
              qPrintable(target), runs);

  double bestGui = -1, bestCli = -1;
  GuiRun last;
  for (int i = 0; i < runs; ++i) {
    last = ConvertInDialog(dialog, guiTmx);
    if (bestGui < 0 || last.seconds < bestGui) bestGui = last.seconds;
    const double cliSeconds =
        ConvertWithCli(cli, {QStringLiteral("-q"), QStringLiteral("-s"), source,
                             QStringLiteral("-t"), target, QStringLiteral("-o"), cliTmx, txt});
    if (cliSeconds < 0) {
      std::fprintf(stderr, "velmar2tmx-cli failed on %s\n", qPrintable(txt));
      return 1;
    }
    if (bestCli < 0 || cliSeconds < bestCli) bestCli = cliSeconds;
    std::printf("  run %d: dialog %.3f s (%d repaints of the status bar), command line %.3f s\n",
                i + 1, last.seconds, last.paints, cliSeconds);
  }
  std::printf("dialog says: %s\n", qPrintable(QString(last.message).replace('\n', ' ')));
  const double ratio = bestGui / bestCli;
  std::printf("dialog %.3f s, command line %.3f s, ratio %.3f (target <= 1.2)\n", bestGui, bestCli,
              ratio);
  dialog.reject();
  return ratio <= 1.2 ? 0 : 1;
}
