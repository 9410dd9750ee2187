// SPDX-License-Identifier: MIT
#include "engine/tmx_exporter.h"

#include <cstring>

#include "engine/export_outcome.h"
#include "engine/export_run.h"
#include "engine/report_json.h"

void EngineError::Set(Kind failure, const std::string& file, int errorNumber) {
  kind = failure;
  path = file;
  number = errorNumber;
  reason = failure == Kind::OutOfMemory ? "out of memory"
           : errorNumber                ? std::strerror(errorNumber)
                                        : std::string();
}

namespace {

void NoteOutcome(ExportReport& report, const ExportResult& result) {
  report.outcome = OutcomeName(result.stop);
  report.error.clear();
  if (result.stop == ExportResult::Stop::Failed) {
    report.error = ReportName(result.error.path) + ": " +
                   (result.error.reason.empty() ? std::string("failed") : result.error.reason);
  }
}

}  // namespace

CTmxExporter::CTmxExporter() = default;
CTmxExporter::~CTmxExporter() = default;

ExportResult CTmxExporter::Export(const ExportRequest& request, ProgressReporter* progress) {
  m_error = EngineError();
  ExportRun run(*this, request, progress);
  ExportResult result = run.Run();
  m_error = result.error;
  if (request.report) NoteOutcome(*request.report, result);
  return result;
}
