// SPDX-License-Identifier: MIT
// Renders the main window and the About box of the running program into PNG files, for the
// documentation (scripts/screenshots.sh). With a TXT file the main window shows it chosen, with
// its first language as source and "(all languages)" chosen as target.
//   velmar2tmx-screenshots OUTPUT_FOLDER [TXT_FILE]
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QLineEdit>
#include <QPixmap>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdio>

#include "ui/about_dialog.h"
#include "ui/app.h"
#include "ui/dialog_look.h"
#include "ui/main_dialog.h"
#include "ui/target_language_model.h"
#include "ui/translations.h"

namespace {

bool Grab(QWidget& window, const QString& path) {
  window.show();
  // A focused field selects its text on show: the picture shows it plain.
  for (QLineEdit* edit : window.findChildren<QLineEdit*>()) edit->deselect();
  return window.grab().save(path);
}

// The main window, with the TXT file chosen when one is given.
bool GrabMainWindow(const QString& txt, const QString& path) {
  CMainDlg dialog;
  if (!txt.isEmpty()) {
    // The file's analysis runs on a worker: the picture shows its outcome.
    QEventLoop analysed;
    QObject::connect(&dialog, &CMainDlg::commandFinished, &analysed, &QEventLoop::quit);
    auto* txtEdit = dialog.findChild<QLineEdit*>(QStringLiteral("txtPathEdit"));
    txtEdit->setText(txt);
    dialog.OnTxtPathChanged();  // at once, without the typing pause
    if (dialog.IsBusy()) analysed.exec();
    // As the user chooses it after the analysis's preselection.
    auto* target = dialog.findChild<QComboBox*>(QStringLiteral("targetLanguageList"));
    target->setCurrentIndex(0);
  }
  const bool ok = Grab(dialog, path);
  dialog.hide();
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: velmar2tmx-screenshots OUTPUT_FOLDER [TXT_FILE]\n");
    return 2;
  }
  RegisterApplicationIdentity();
  // Keep the user's own settings out of the pictures and untouched.
  QTemporaryDir settingsDir;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());

  const QDir out(QString::fromLocal8Bit(argv[1]));
  const QString txt = argc == 3 ? QDir::cleanPath(QString::fromLocal8Bit(argv[2])) : QString();
  bool ok = GrabMainWindow(txt, out.filePath(QStringLiteral("main-window.png")));
  {
    CAboutDlg about;
    ok = Grab(about, out.filePath(QStringLiteral("about-box.png"))) && ok;
  }
  // The same window in German, as a German desktop shows it.
  InstallTranslations(QLocale(QLocale::German, QLocale::Germany));
  ok = GrabMainWindow(txt, out.filePath(QStringLiteral("main-window-de.png"))) && ok;
  if (!ok) std::fprintf(stderr, "velmar2tmx-screenshots: cannot write into %s\n", argv[1]);
  return ok ? 0 : 1;
}
