// SPDX-License-Identifier: MIT
#include "engine/tmx_exporter.h"

#include "engine/export_outcome.h"
#include "engine/export_run.h"
#include "engine/report_json.h"

namespace {

void NoteOutcome(ExportReport& report, const ExportResult& result) {
  report.outcome = OutcomeName(result.stop);
  report.error.clear();
  if (result.stop == ExportResult::Stop::Failed) {
    report.error = Describe(result.error, ReportName).summary;
  }
}

}  // namespace

CTmxExporter::CTmxExporter() = default;
CTmxExporter::~CTmxExporter() = default;

ExportResult CTmxExporter::Export(const ExportRequest& request, ProgressReporter* progress) {
  ExportRun run(*this, request, progress);
  ExportResult result = run.Run();
  if (request.report) NoteOutcome(*request.report, result);
  return result;
}
