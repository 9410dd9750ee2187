// SPDX-License-Identifier: MIT
// The command line of the desktop tool: velmar2tmx [TXT-FILE], plus --help and --version.
// A file manager's "Open with" passes the chosen file; the dialog starts with it in the TXT
// field, exactly as if its path had been typed there.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class CMainDlg;

struct StartArguments {
  enum class Action { Run, Help, Version, Usage };
  Action action = Action::Run;
  QString txtPath;  // Run: the TXT file to start with, empty for none
  QString problem;  // Usage: what is wrong with the arguments
};

// Reads the arguments after the program name, passing over Qt's own options (-platform NAME,
// -style NAME, -reverse ...), so that it can run before the application object exists.
StartArguments ParseStartArguments(const QStringList& arguments);

// The texts of --help (stdout), --version (stdout) and of a usage error (stderr, after the
// problem).
QString StartHelpText();
QString StartVersionText();
QString StartUsageText();

// Runs the arguments' action that needs no dialog: prints and gives the exit status (0 for help
// and version, 2 with the usage on stderr for a usage error); nothing for Run.
std::optional<int> AnswerStartArguments(const StartArguments& arguments);

// Puts the TXT path into the dialog's TXT field, as typing it would.
void ApplyStartArguments(CMainDlg& dialog, const StartArguments& arguments);
