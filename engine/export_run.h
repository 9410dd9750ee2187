// SPDX-License-Identifier: MIT
// ExportRun: one export, wired from its parts. The reader yields the units of the TXT file; the
// unit pipeline converts them in batches (on the calling thread, or on several) and writes them
// in order through the TMX writer; the output file makes the TMX appear only complete.
#pragma once

#include <string>
#include <vector>

#include "engine/export_request.h"
#include "engine/output_file.h"
#include "engine/tmx_writer.h"
#include "engine/txt_reader.h"

class CTmxExporter;
class ProgressReporter;

class ExportRun {
 public:
  ExportRun(CTmxExporter& exporter, const ExportRequest& request, ProgressReporter* progress);

  ExportResult Run();

 private:
  ExportResult Convert();
  // Converts the units into result (counts as they come, so that a run cut short has them).
  void ConvertUnits(ExportResult& result);
  void NoteReadCounts();
  ExportResult Finish(ExportResult result);
  ExportResult Failure(EngineError::Kind kind, const std::string& path, int number);
  ExportResult Failure(const EngineError& error);
  void FillReportLanguages();

  CTmxExporter& m_x;
  const ExportRequest& m_request;
  ProgressReporter* m_progress;
  ExportReport* m_report;
  int m_threads;
  TxtReader m_reader;
  OutputFile m_output;
  TmxWriter m_writer;
  ExportResult m_counted;  // units read, written and skipped so far
};
