// SPDX-License-Identifier: MIT
// Progress of a conversion as one updating line on stderr (when shown), and the way an
// interrupt (Ctrl-C, SIGTERM, SIGHUP; on Windows Ctrl-C, Ctrl-Break, closing the console) reaches
// the engine so that it stops cleanly.
#pragma once

#include <cstdio>
#include <string>

#include "engine/progress.h"

class TerminalProgress : public ProgressReporter {
 public:
  // show: print the percentage line; otherwise the reporter only watches for interrupts.
  TerminalProgress(FILE* err, bool show);
  ~TerminalProgress() override;
  void SetPosition(int percent) override;
  void SetState(ProgressState state) override;
  bool ShouldStop() override;
  // Text before the status and percentage ("File 2 of 5 'b.txt': " in a batch).
  void SetLabel(const std::string& label) { m_label = label; }

  // True once an interrupt arrived.
  static bool Interrupted();
  // Sets (or clears) what an interrupt sets: an interrupt that reaches the program another way,
  // or a test that interrupts a run at a chosen point.
  static void SetInterrupted(bool interrupted);
  // Routes the interrupts (see cli/platform.h) to Interrupted() for the lifetime of the process; a
  // signal that was ignored when the process started (nohup) stays ignored.
  static void CatchInterrupts();

 private:
  FILE* m_err;
  bool m_show;
  std::string m_label;
  std::string m_status = "Working";
  int m_shown = -1;
};
