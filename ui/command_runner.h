// SPDX-License-Identifier: MIT
// CommandRunner: runs one engine command of the main dialog, an analysis or an export, on a
// thread of its own, with a CTmxExporter made for that run. Progress arrives as queued signals;
// when the run is over, its result is delivered on the runner's thread (the window's) by
// analysisFinished or exportFinished. One run at a time.
#pragma once

#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <string>

#include "engine/export_request.h"
#include "engine/tmx_exporter.h"
#include "ui/qt_progress_reporter.h"

class QThread;

class CommandRunner : public QObject {
  Q_OBJECT

 public:
  explicit CommandRunner(QObject* parent = nullptr);
  // Stops a run that is still going and waits for it.
  ~CommandRunner() override;
  CommandRunner(const CommandRunner&) = delete;
  CommandRunner& operator=(const CommandRunner&) = delete;

  // True from a Start until its result has been delivered (or the run was abandoned).
  bool IsRunning() const { return m_thread != nullptr; }
  // Both do nothing and return false while a run is going.
  bool StartAnalysis(const std::string& txtPath);
  bool StartExport(const ExportRequest& request);
  // Asks the run to stop and waits for its thread. Its result is never delivered: the engine
  // leaves nothing behind (an export removes its temporary file).
  void Abandon();
  // Holds a running export before it writes further or puts its file in place, or lets it go on
  // (see QtProgressReporter::Hold).
  void Hold(bool hold) { m_reporter.Hold(hold); }

 signals:
  void positionChanged(int percent);
  void textChanged(const QString& text);
  void analysisFinished(const AnalysisResult& analysis);
  void exportFinished(const ExportResult& result);

 private:
  enum class Kind { Analysis, Export };
  bool Start(Kind kind, std::function<void()> work);
  void OnThreadFinished(unsigned run);

  QThread* m_thread = nullptr;
  unsigned m_run = 0;  // number of the latest run: a late signal of an abandoned one is ignored
  Kind m_kind = Kind::Analysis;
  std::atomic<bool> m_stop{false};
  QtProgressReporter m_reporter;
  // Written by the run's thread, read here once it has ended.
  AnalysisResult m_analysis;
  ExportResult m_result;
};
