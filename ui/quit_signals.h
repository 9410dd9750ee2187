// SPDX-License-Identifier: MIT
// The termination requests of the system (SIGTERM, SIGHUP, SIGINT on Linux) as a Qt signal on
// the window's thread: the dialog then stops a running conversion, which removes its temporary
// file, keeps the settings and ends. One implementation file per system.
#pragma once

#include <QObject>

class QSocketNotifier;

class QuitSignals : public QObject {
  Q_OBJECT

 public:
  // The exit status after a termination request, the command line's.
  static constexpr int kExitInterrupted = 130;

  // Catches the requests while the object lives (one object at a time); a request the process
  // started ignoring stays ignored.
  explicit QuitSignals(QObject* parent = nullptr);
  ~QuitSignals() override;
  QuitSignals(const QuitSignals&) = delete;
  QuitSignals& operator=(const QuitSignals&) = delete;

 signals:
  void quitRequested();

 private:
  void OnReadable();
  QSocketNotifier* m_notifier = nullptr;
};
