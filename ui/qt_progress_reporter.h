// SPDX-License-Identifier: MIT
// The engine's progress interface for a run on a worker thread: the percentage and the state
// text leave as signals, which reach the window's thread queued; the stop question is answered
// from a flag that the window's thread sets. The engine reports far more often than a window
// needs: a percentage is signalled only when it changes.
#pragma once

#include <QObject>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>

#include "engine/progress.h"

class QtProgressReporter : public QObject, public ProgressReporter {
  Q_OBJECT

 public:
  // stop is read on every ShouldStop; it must outlive the reporter.
  explicit QtProgressReporter(const std::atomic<bool>& stop, QObject* parent = nullptr);

  void SetPosition(int percent) override;
  void SetState(ProgressState state) override;
  // Answers the stop flag; while the run is held, waits first until it is released or stopped.
  bool ShouldStop() override;

  // Holds the run at its next stop question (the user is asked whether to stop it: a run held
  // there writes nothing more and never puts its file in place), or releases it. Wake() ends a
  // wait after the stop flag was set.
  void Hold(bool hold);
  void Wake();

  // Forget the last percentage (before a new run).
  void Reset() { m_lastPercent = -1; }

 signals:
  void positionChanged(int percent);
  void textChanged(const QString& text);

 private:
  const std::atomic<bool>& m_stop;
  int m_lastPercent = -1;
  std::mutex m_holdMutex;
  std::condition_variable m_released;
  bool m_held = false;
};

// The wait cursor of the busy dialog: Qt's override-cursor stack, one entry per Begin.
namespace WaitCursor {
void Begin();
// Puts the wait cursor back if something changed the override cursor.
void Restore();
void End();
}  // namespace WaitCursor
