// SPDX-License-Identifier: MIT
#include "ui/start_arguments.h"

#include <QLineEdit>
#include <cstdio>

#include "ui/main_dialog.h"

namespace {

// Qt's own options (QGuiApplication and QApplication take them out of argv): those that take a
// value, and those that do not. Either may be written with one dash or two.
const char* const kQtOptionsWithValue[] = {
    "platform",        "platformpluginpath", "platformtheme", "plugin",
    "qwindowgeometry", "qwindowicon",        "qwindowtitle",  "session",
    "display",         "geometry",           "style",         "stylesheet"};
const char* const kQtFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

// 2 for a Qt option with its value, 1 for a Qt flag, 0 for anything else.
int QtOptionLength(const QString& argument) {
  if (!argument.startsWith(QLatin1Char('-'))) return 0;
  const QString name = argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1);
  for (const char* option : kQtOptionsWithValue) {
    if (name == QLatin1String(option)) return 2;
  }
  for (const char* flag : kQtFlags) {
    if (name == QLatin1String(flag)) return 1;
  }
  return 0;
}

}  // namespace

StartArguments ParseStartArguments(const QStringList& arguments) {
  StartArguments result;
  bool optionsEnded = false;
  int skip = 0;
  auto fail = [&result](const QString& problem) {
    result.action = StartArguments::Action::Usage;
    result.problem = problem;
    return result;
  };
  for (const QString& argument : arguments) {
    if (skip > 0 || (!optionsEnded && (skip = QtOptionLength(argument)) > 0)) {
      --skip;
    } else if (!optionsEnded && argument == QLatin1String("--")) {
      optionsEnded = true;
    } else if (!optionsEnded &&
               (argument == QLatin1String("-h") || argument == QLatin1String("--help"))) {
      result.action = StartArguments::Action::Help;
      return result;
    } else if (!optionsEnded && argument == QLatin1String("--version")) {
      result.action = StartArguments::Action::Version;
      return result;
    } else if (!optionsEnded && argument.size() > 1 && argument.startsWith(QLatin1Char('-'))) {
      return fail(QStringLiteral("unknown option '%1'").arg(argument));
    } else if (!result.txtPath.isEmpty()) {
      return fail(QStringLiteral("only one TXT file can be given"));
    } else {
      result.txtPath = argument;
    }
  }
  return result;
}

QString StartHelpText() {
  return QStringLiteral(
      "Usage: velmar2tmx [OPTION]... [TXT-FILE]\n"
      "Convert a Velmar Vovuzaduz TXT translation memory into a TMX 1.4 document, in a dialog.\n"
      "With TXT-FILE the dialog starts with that file chosen, as if its path had been typed:\n"
      "the TMX path is derived and the file's first two languages are preselected.\n"
      "\n"
      "  -h, --help     display this help and exit\n"
      "      --version  output version information and exit\n"
      "\n"
      "Qt's own options (for example -platform offscreen) are accepted as well.\n"
      "The command-line converter is velmar2tmx-cli.\n");
}

QString StartVersionText() {
  return QStringLiteral("velmar2tmx (VELMAR 2 TMX) " VELMAR_VERSION
                        "\n"
                        "Copyright (c) Norvane. MIT License.\n");
}

QString StartUsageText() {
  return QStringLiteral(
      "Usage: velmar2tmx [OPTION]... [TXT-FILE]\n"
      "Try 'velmar2tmx --help' for more information.\n");
}

std::optional<int> AnswerStartArguments(const StartArguments& arguments) {
  switch (arguments.action) {
    case StartArguments::Action::Run:
      return std::nullopt;
    case StartArguments::Action::Help:
      std::fputs(StartHelpText().toLocal8Bit().constData(), stdout);
      return 0;
    case StartArguments::Action::Version:
      std::fputs(StartVersionText().toLocal8Bit().constData(), stdout);
      return 0;
    case StartArguments::Action::Usage:
      std::fprintf(stderr, "velmar2tmx: %s\n%s", arguments.problem.toLocal8Bit().constData(),
                   StartUsageText().toLocal8Bit().constData());
      return 2;
  }
  return 2;
}

void ApplyStartArguments(CMainDlg& dialog, const StartArguments& arguments) {
  if (arguments.txtPath.isEmpty()) return;
  // The TXT field (control 1002): setting its text runs the same handler as typing.
  if (auto* txtEdit = dialog.findChild<QLineEdit*>(QStringLiteral("txtPathEdit"))) {
    txtEdit->setText(arguments.txtPath);
  }
}
