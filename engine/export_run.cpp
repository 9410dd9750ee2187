// SPDX-License-Identifier: MIT
#include "engine/export_run.h"

#include <memory>
#include <new>
#include <system_error>
#include <thread>
#include <utility>

#include "engine/file_system.h"
#include "engine/progress.h"
#include "engine/report_findings.h"
#include "engine/tmx_exporter.h"
#include "engine/unit_pipeline.h"
#include "text/code_page.h"
#include "text/xml_escape.h"

namespace {

// Whether the two paths name one file (device and inode; links followed).
bool SameFile(const std::string& a, const std::string& b) {
  FileFacts first, second;
  FileSystem& fs = TheFileSystem();
  return fs.Facts(a, true, first) && fs.Facts(b, true, second) && first.device == second.device &&
         first.inode == second.inode;
}

}  // namespace

ExportRun::ExportRun(CTmxExporter& exporter, const ExportRequest& request,
                     ProgressReporter* progress)
    : m_x(exporter),
      m_request(request),
      m_progress(progress),
      m_report(request.report),
      m_threads(request.threads > 0 ? request.threads
                                    : static_cast<int>(std::thread::hardware_concurrency())) {
  if (m_threads < 1) m_threads = 1;
}

ExportResult ExportRun::Run() {
  // Memory or a thread that cannot be had ends the run as any failure does, whichever thread
  // met it: the temporary file goes, an existing TMX file stays.
  try {
    return Convert();
  } catch (const std::bad_alloc&) {
  } catch (const std::system_error&) {
  }
  NoteReadCounts();
  m_output.Discard();  // first of all: nothing more reaches the file
  return Failure(EngineError::Kind::OutOfMemory, m_request.txtPath, 0);
}

ExportResult ExportRun::Convert() {
  if (m_report) {
    m_report->txtPath = m_request.txtPath;
    m_report->tmxPath = m_request.tmxPath;
  }
  EngineError error;
  if (!m_reader.Open(m_request.txtPath, error)) return Failure(error);
  if (m_request.outputFd < 0 && !m_request.tmxPath.empty() &&
      SameFile(m_request.txtPath, m_request.tmxPath)) {
    ExportResult result = Failure(EngineError::Kind::SameFile, m_request.tmxPath, 0);
    result.error.reason = "the TXT file and the TMX file are the same file";
    return result;
  }
  if (!m_output.Open(m_request.tmxPath, m_request.outputFd, m_request.noClobber, error)) {
    return Failure(error);
  }
  std::unique_ptr<ByteSink> sink =
      std::make_unique<FdSink>(m_output.Fd(), m_output.SyncedOnCommit());
  if (m_x.m_sinkWrapper) sink = m_x.m_sinkWrapper(std::move(sink));
  std::u16string sourceAttribute;
  AppendXmlAttribute(sourceAttribute, Decode(kCodePageAnsi, m_request.sourceCode));
  m_writer.Open(std::move(sink), m_request.utf16Output, sourceAttribute);
  if (m_progress) m_progress->SetState(ProgressState::Exporting);
  m_writer.WriteHeader();
  m_reader.SetProgress(m_progress);
  ConvertUnits(m_counted);
  return Finish(m_counted);
}

void ExportRun::ConvertUnits(ExportResult& result) {
  UnitPipeline pipeline(m_request, m_threads, m_x.m_convertProbe);
  (void)pipeline.Run(m_reader, m_writer, result, m_report);
}

void ExportRun::NoteReadCounts() {
  if (!m_report) return;
  // The units read so far, whose findings the report holds, also when the run ends early.
  m_report->unitsRead = m_counted.unitsRead;
  m_report->skipped = m_counted.skipped;
}

ExportResult ExportRun::Finish(ExportResult counted) {
  FillReportLanguages();
  NoteReadCounts();
  if (m_report) m_report->fieldsBetweenUnits = m_reader.BetweenUnits();
  bool stopped = m_reader.Stopped();
  if (!stopped && !m_reader.ReadFailed() && !m_writer.Failed() && m_progress) {
    m_progress->SetPosition(100);
    stopped = m_progress->ShouldStop();
  }
  if (stopped) return Failure(EngineError::Kind::Abandoned, m_request.tmxPath, 0);
  if (m_reader.ReadFailed()) {
    return Failure(EngineError::Kind::ReadInput, m_request.txtPath, m_reader.Error());
  }
  if (!m_writer.Finish()) {
    return Failure(EngineError::Kind::WriteOutput, m_request.tmxPath, m_writer.Error());
  }
  m_writer.Close();
  ExportResult result = counted;
  if (result.unitsWritten == 0) {
    // Nothing to keep: whatever was at the TMX path stays as it was.
    m_output.Discard();
    result.stop = ExportResult::Stop::NothingWritten;
  } else if (!m_output.Commit(result.error,
                              [this] { return m_progress && m_progress->ShouldStop(); })) {
    return Failure(result.error);  // a stop asked before the file took its place abandons
  }
  if (m_report) {
    m_report->unitsRead = result.unitsRead;
    m_report->unitsWritten = result.unitsWritten;
    m_report->skipped = result.skipped;
  }
  if (m_progress) m_progress->SetState(ProgressState::Idle);
  return result;
}

ExportResult ExportRun::Failure(EngineError::Kind kind, const std::string& path, int number) {
  EngineError error;
  error.Set(kind, path, number);
  return Failure(error);
}

ExportResult ExportRun::Failure(const EngineError& error) {
  m_writer.Close();
  m_output.Discard();
  ExportResult result;
  result.error = error;
  // An open (of a named pipe) or a read cut short by the signal that asks the run to stop is
  // that stop, not a failure.
  if (error.kind == EngineError::Kind::Abandoned ||
      (error.number == EINTR && m_progress && m_progress->ShouldStop())) {
    result.error.Set(EngineError::Kind::Abandoned, error.path, 0);
    result.stop = ExportResult::Stop::Abandoned;
  } else {
    result.stop = ExportResult::Stop::Failed;
  }
  return result;
}

void ExportRun::FillReportLanguages() {
  if (!m_report) return;
  m_report->source = {m_request.sourceCode, m_request.sourceCodePage};
  // With all languages the pipeline noted the languages met, in the order the file first has them.
  if (!m_request.allLanguages)
    m_report->others = {{m_request.targetCode, m_request.targetCodePage}};
}
