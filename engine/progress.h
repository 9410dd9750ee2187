// SPDX-License-Identifier: MIT
// How the engine shows its progress and learns that the application is quitting.
// The desktop tool implements it over its status bar; the command line over stderr.
#pragma once

#include <string>

class ProgressReporter {
 public:
  virtual ~ProgressReporter() = default;
  // Text shown beside the progress bar, e.g. "42%".
  virtual void SetProgressText(const std::string& text) { (void)text; }
  // Position of the progress bar, 0 to 100.
  virtual void SetProgressPos(int percent) { (void)percent; }
  // State text of the status bar's first pane ("Exporting...", "Idle").
  virtual void SetStatusText(const std::string& text) { (void)text; }
  virtual void BeginWaitCursor() {}
  virtual void RestoreWaitCursor() {}
  virtual void EndWaitCursor() {}
  // Lets the application handle pending events; false when the application is quitting.
  virtual bool PumpMessages() { return true; }
};
