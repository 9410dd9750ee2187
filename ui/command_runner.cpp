// SPDX-License-Identifier: MIT
#include "ui/command_runner.h"

#include <QThread>
#include <new>
#include <system_error>

CommandRunner::CommandRunner(QObject* parent) : QObject(parent), m_reporter(m_stop) {
  connect(&m_reporter, &QtProgressReporter::positionChanged, this, &CommandRunner::positionChanged);
  connect(&m_reporter, &QtProgressReporter::textChanged, this, &CommandRunner::textChanged);
}

CommandRunner::~CommandRunner() {
  Abandon();
}

namespace {

ExportResult OutOfMemory(const ExportRequest& request) {
  ExportResult result;
  result.stop = ExportResult::Stop::Failed;
  result.error.Set(EngineError::Kind::OutOfMemory, request.txtPath, 0);
  return result;
}

AnalysisResult AnalysisOutOfMemory(const std::string& txtPath) {
  AnalysisResult result;
  result.error.work = EngineError::Work::Analysis;
  result.error.Set(EngineError::Kind::OutOfMemory, txtPath, 0);
  return result;
}

}  // namespace

// The run's thread must end with a result whatever happens: memory or a thread that cannot be
// had (the engine handles that inside; this covers the steps around it) makes a failed run.
bool CommandRunner::StartAnalysis(const std::string& txtPath) {
  return Start(Kind::Analysis, [this, txtPath] {
    try {
      CTmxExporter exporter;
      m_analysis = exporter.Analyse(txtPath, &m_reporter);
    } catch (const std::bad_alloc&) {
      m_analysis = AnalysisOutOfMemory(txtPath);
    } catch (const std::system_error&) {
      m_analysis = AnalysisOutOfMemory(txtPath);
    }
  });
}

bool CommandRunner::StartExport(const ExportRequest& request) {
  return Start(Kind::Export, [this, request] {
    try {
      CTmxExporter exporter;
      m_result = exporter.Export(request, &m_reporter);
    } catch (const std::bad_alloc&) {
      m_result = OutOfMemory(request);
    } catch (const std::system_error&) {
      m_result = OutOfMemory(request);
    }
  });
}

bool CommandRunner::Start(Kind kind, std::function<void()> work) {
  if (m_thread) return false;
  m_kind = kind;
  m_stop = false;
  m_reporter.Hold(false);
  m_reporter.Reset();
  const unsigned run = ++m_run;
  m_thread = QThread::create(std::move(work));
  // Emitted on the run's thread, handled on this one once the run is over.
  connect(m_thread, &QThread::finished, this, [this, run] { OnThreadFinished(run); });
  m_thread->start();
  return true;
}

void CommandRunner::OnThreadFinished(unsigned run) {
  if (run != m_run || !m_thread) return;
  m_thread->wait();
  delete m_thread;
  m_thread = nullptr;
  if (m_kind == Kind::Analysis) {
    emit analysisFinished(m_analysis);
  } else {
    emit exportFinished(m_result);
  }
}

void CommandRunner::Abandon() {
  if (!m_thread) return;
  m_stop = true;
  m_reporter.Wake();
  m_thread->wait();
  delete m_thread;
  m_thread = nullptr;
  // The finished signal of this run may still be queued: the new number makes it void.
  ++m_run;
}
