// SPDX-License-Identifier: MIT
// The engine's progress interface over the main dialog: the percentage goes to the progress bar
// in pane 1, the state text to pane 0, the wait cursor to Qt's override cursor. Pumping lets Qt
// handle pending events (the window repaints and stays usable) and reports the quit request
// once the user has confirmed the exit.
//
// The engine asks every 10 lines, far more often than a window needs: events are handled at the
// first request and then at most every kPumpInterval, while the quit request is looked at on
// every call.
#pragma once

#include <QElapsedTimer>
#include <functional>
#include <string>

#include "engine/progress.h"

class CProgressBar;
class CStatusBar;

class QtProgressReporter : public ProgressReporter {
 public:
  static constexpr qint64 kPumpIntervalMs = 10;

  // bar and statusBar may be null; quitting tells whether the exit was confirmed.
  QtProgressReporter(CProgressBar* bar, CStatusBar* statusBar, std::function<bool()> quitting);
  ~QtProgressReporter() override;
  QtProgressReporter(const QtProgressReporter&) = delete;
  QtProgressReporter& operator=(const QtProgressReporter&) = delete;

  void SetPosition(int percent) override;
  void SetText(const std::string& text) override;
  bool ShouldStop() override;

  void SetProgressText(const std::string& text);
  void BeginWaitCursor();
  void EndWaitCursor();

 private:
  CProgressBar* m_bar;
  CStatusBar* m_statusBar;
  std::function<bool()> m_quitting;
  int m_waitCursors = 0;   // Begin calls not yet ended
  std::string m_lastText;  // the bar's text as last set
  QElapsedTimer m_sincePump;
};

// The wait cursor of the busy dialog: Qt's override-cursor stack, one entry per Begin.
namespace WaitCursor {
void Begin();
// Puts the wait cursor back if something changed the override cursor.
void Restore();
void End();
}  // namespace WaitCursor
