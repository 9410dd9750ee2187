// SPDX-License-Identifier: MIT
// CConverterApp: the application object of the desktop tool. Its start-up names the settings
// location, runs the main dialog modally, destroys it (which writes the settings) and ends.
#pragma once

#include <QApplication>

#include "ui/start_arguments.h"

class CConverterApp {
 public:
  CConverterApp(int& argc, char** argv);
  CConverterApp(const CConverterApp&) = delete;
  CConverterApp& operator=(const CConverterApp&) = delete;

  // The arguments the dialog starts with (the TXT file to fill in).
  void SetStartArguments(const StartArguments& arguments) { m_start = arguments; }

  // Runs the main dialog; the process's exit status.
  int InitInstance();

 private:
  QApplication m_app;
  StartArguments m_start;
};

// Organisation "Norvane" and application "VELMAR® 2 TMX": where QSettings keeps the settings
// (~/.config/Norvane/VELMAR® 2 TMX.conf on Linux), and the name the desktop shows.
void RegisterApplicationIdentity();
