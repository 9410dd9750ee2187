// SPDX-License-Identifier: MIT
#include "ui/app.h"

#include <QGuiApplication>

#include "ui/dialog_look.h"
#include "ui/main_dialog.h"
#include "ui/quit_signals.h"
#include "ui/translations.h"
#include "ui/ui_strings.h"

void RegisterApplicationIdentity() {
  QCoreApplication::setOrganizationName(QStringLiteral("Norvane"));
  QCoreApplication::setApplicationName(QString::fromUtf8(LoadUiText(IDS_APP_TITLE)));
  QCoreApplication::setApplicationVersion(QStringLiteral(VELMAR_VERSION));
  QGuiApplication::setDesktopFileName(QStringLiteral("com.norvane.velmar2tmx"));
}

CConverterApp::CConverterApp(int& argc, char** argv) : m_app(argc, argv) {}

int CConverterApp::InitInstance() {
  RegisterApplicationIdentity();
  InstallTranslations(QLocale::system());
  QGuiApplication::setWindowIcon(AppIcon());
  // The dialog is the whole program: it ends when the dialog ends, not when a window closes.
  QGuiApplication::setQuitOnLastWindowClosed(false);
  bool terminated = false;
  {
    CMainDlg dialog;
    // A termination request ends the dialog as the command line ends: a running conversion is
    // stopped and leaves nothing behind.
    QuitSignals quit;
    QObject::connect(&quit, &QuitSignals::quitRequested, &dialog, &CMainDlg::Terminate);
    ApplyStartArguments(dialog, m_start);
    dialog.exec();
    terminated = dialog.Terminated();
  }  // destroying the dialog writes the settings
  return terminated ? QuitSignals::kExitInterrupted : 0;
}
